// NetEase music: the play bar sits at the bottom edge. It mounts late, so the style is re-attached for a while.
(function () {
  try {
    if (window.__lumivaneNE) return;
    window.__lumivaneNE = true;
    var id = 'kt-site-netease';
    var css = [
      '.m-top, .m-subnav, .m-toolbar, .m-import, .m-notice, .m-app-download { display: none !important; }',
      '.m-playbar {',
      '  position: fixed !important; left: 0 !important; right: 0 !important; bottom: 0 !important;',
      '  z-index: 2147483000 !important;',
      '}',
      '#g_iframe { width: 100% !important; }',
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
    try {
      var observer = new MutationObserver(attach);
      observer.observe(document.documentElement || document, { childList: true, subtree: true });
      setTimeout(function () { observer.disconnect(); }, 4000);
    } catch (e) {}
  } catch (e) {}
})()
