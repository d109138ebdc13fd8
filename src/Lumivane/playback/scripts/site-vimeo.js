// Vimeo: the player fills the window.
(function () {
  try {
    if (window.__lumivaneVM) return;
    window.__lumivaneVM = true;
    var id = 'kt-site-vimeo';
    var css = [
      'header, footer, [class*="sidebar"], [class*="comments"] { display: none !important; }',
      '#player, .vp-player, [data-testid="player"] {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 2147483000 !important;',
      '}',
      'html, body { overflow-x: hidden !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
