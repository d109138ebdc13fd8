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
