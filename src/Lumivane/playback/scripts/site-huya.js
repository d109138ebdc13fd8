// Huya live rooms: the player fills the window.
(function () {
  try {
    if (window.__lumivaneHY) return;
    window.__lumivaneHY = true;
    var id = 'kt-site-huya';
    var css = [
      '.hy-nav, .hy-header, .room-header, .room-hd, .room-sidebar, .room-chat, .chat-room { display: none !important; }',
      '#playerWrap, #player-wrap, .player-wrap, .video-player {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 2147483000 !important;',
      '}',
      'html, body { overflow-x: hidden !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
