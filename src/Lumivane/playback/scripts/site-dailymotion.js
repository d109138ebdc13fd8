// Dailymotion: the player and its frame fill the window.
(function () {
  try {
    if (window.__lumivaneDM) return;
    window.__lumivaneDM = true;
    var id = 'kt-site-dailymotion';
    var css = [
      '[class*="ResponsiveHeader__header"], [class*="ResponsiveSubheader__subheader"], [class*="VerticalNav__nav"], [class*="ResponsiveHeader__headerPlaceholder"] { display: none !important; }',
      '[class*="Player__player"] {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 2147483000 !important;',
      '}',
      '[class*="Player__player"] iframe { width: 100% !important; height: 100% !important; border: 0 !important; }',
      'html, body { overflow: hidden !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
