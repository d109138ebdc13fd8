// Bilibili: log-in and preview prompts, side buttons and log-in badges go. The page re-renders early on, so the style is re-attached for a while.
(function () {
  try {
    if (window.__lumivaneBLClean) return;
    window.__lumivaneBLClean = true;
    var id = 'kt-bili-clean';
    var css = [
      '.bpx-player-toast-wrap, .bpx-player-toast-fixed, .fixed-sidenav-storage, .bpx-player-ctrl-quality-badge-needlogin, .bpx-player-ctrl-playbackrate-unlogin { display: none !important; }'
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
