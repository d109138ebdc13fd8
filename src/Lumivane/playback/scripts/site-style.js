// One site's clean-up style, from its site-<id>.css: added once per page as kt-site-<id>,
// and for watchMs put back whenever the page drops it.
(function () {
  try {
    if (window.__LUMIVANE_GUARD__) return;
    window.__LUMIVANE_GUARD__ = true;
    window.__lumivaneAttachStyle('kt-site-' + __LUMIVANE_SITE__, __LUMIVANE_CSS__, __LUMIVANE_WATCH_MS__);
  } catch (e) {}
})()
