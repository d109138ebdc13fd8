// SoundCloud: the header and announcements go.
(function () {
  try {
    if (window.__lumivaneSC) return;
    window.__lumivaneSC = true;
    var id = 'kt-site-soundcloud';
    var css = [
      'header.header, .announcements, .m-hideHeader .header { display: none !important; }',
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
