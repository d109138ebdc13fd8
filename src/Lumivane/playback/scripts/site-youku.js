// Youku: the player fills the window.
(function () {
  try {
    if (window.__lumivaneYK) return;
    window.__lumivaneYK = true;
    var id = 'kt-site-youku';
    var css = [
      '.yk-header, .yk-nav, .yk-sidebar, .yk-footer, .yk-player-page__header { display: none !important; }',
      '#ykPlayer, .youku-player, .h5player-container, .player-container {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 2147483000 !important;',
      '}',
      'html, body { overflow-x: hidden !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
