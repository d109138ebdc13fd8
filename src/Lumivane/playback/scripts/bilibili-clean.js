// Bilibili: log-in and preview prompts, side buttons and log-in badges go. The page re-renders early on, so the style is re-attached for a while.
(function () {
  try {
    if (window.__lumivaneBLClean) return;
    window.__lumivaneBLClean = true;
    var id = 'kt-bili-clean';
    var css = [
      '.bpx-player-toast-wrap, .bpx-player-toast-fixed, .fixed-sidenav-storage, .bpx-player-ctrl-quality-badge-needlogin, .bpx-player-ctrl-playbackrate-unlogin { display: none !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 4000);
  } catch (e) {}
})()
