// Twitch: the player fills the window. No advertisement handling, no seeking.
(function () {
  try {
    if (window.__lumivaneTW) return;
    window.__lumivaneTW = true;
    var id = 'kt-site-twitch';
    var css = [
      '.top-nav, .side-nav, .channel-root__right-column, .channel-root__info, [data-a-target="right-nav"], .persistent-player ~ div { display: none !important; }',
      '.video-player, [data-a-target="player-overlay-click-handler"] {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 999999 !important;',
      '}',
      '.video-player__container, .player-root { width: 100% !important; height: 100% !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
