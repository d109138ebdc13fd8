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
