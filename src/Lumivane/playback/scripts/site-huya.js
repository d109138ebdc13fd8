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
