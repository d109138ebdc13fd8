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
