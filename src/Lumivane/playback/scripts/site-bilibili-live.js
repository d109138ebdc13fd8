// Bilibili live rooms: the player fills the window; .live-non-revenue-player must stay.
(function () {
  try {
    if (window.__lumivaneBLLive) return;
    window.__lumivaneBLLive = true;
    var id = 'kt-site-bilibili-live';
    var css = [
      '.bili-header, .bili-header--mini, .live-player-handle-bar, .right, .live-sidebar, .chat-history, .rank-list { display: none !important; }',
      '#player-ctnr, .player, .live-player-bg {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 2147483000 !important;',
      '}',
      '.player iframe { width: 100% !important; height: 100% !important; border: 0 !important; }',
      'html, body { overflow: hidden !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
