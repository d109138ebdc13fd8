// Weibo: the page headers go.
(function () {
  try {
    if (window.__lumivaneWB) return;
    window.__lumivaneWB = true;
    var id = 'kt-site-weibo';
    var css = [
      'header.weibo-top, .weibo-top, .lite-page-header, .m-top-bar, .m-container-max > .m-box:first-child { display: none !important; }',
      'html, body { overflow-x: hidden !important; }'
    ].join('\n');
    var attach = function () {
      try {
        if (!document.head || document.getElementById(id)) return;
        var style = document.createElement('style');
        style.id = id;
        style.textContent = css;
        document.head.appendChild(style);
      } catch (e) {}
    };
    if (document.head) attach(); else document.addEventListener('DOMContentLoaded', attach);
  } catch (e) {}
})()
