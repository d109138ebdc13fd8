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
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
