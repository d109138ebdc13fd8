// Black page without scroll bars; while the window's controls drive the page, the site's own
// control bars are hidden.
(function () {
  try {
    if (window.__lumivaneBase) return;
    window.__lumivaneBase = true;
    var id = 'kt-base';
    var css = [
      'html, body { background-color: #000 !important; overflow-x: hidden !important; }',
      '::-webkit-scrollbar { width: 0 !important; height: 0 !important; }',
      'html.kt-webctl .ytp-chrome-bottom, html.kt-webctl .ytp-gradient-bottom,',
      'html.kt-webctl .bpx-player-control-bottom, html.kt-webctl .bpx-player-ctrl-bottom,',
      'html.kt-webctl .bpx-player-progress-wrap { display: none !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
