// NetEase music: the play bar sits at the bottom edge. It mounts late, so the style is re-attached for a while.
(function () {
  try {
    if (window.__lumivaneNE) return;
    window.__lumivaneNE = true;
    var id = 'kt-site-netease';
    var css = [
      '.m-top, .m-subnav, .m-toolbar, .m-import, .m-notice, .m-app-download { display: none !important; }',
      '.m-playbar {',
      '  position: fixed !important; left: 0 !important; right: 0 !important; bottom: 0 !important;',
      '  z-index: 2147483000 !important;',
      '}',
      '#g_iframe { width: 100% !important; }',
      'html, body { overflow-x: hidden !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 4000);
  } catch (e) {}
})()
