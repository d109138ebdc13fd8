// Empties the storage of the document's origin: sign-out leaves nothing of the session.
(function () {
    try { localStorage.clear(); } catch (e) {}
    try { sessionStorage.clear(); } catch (e) {}
    try {
        if (window.indexedDB && indexedDB.databases) {
            indexedDB.databases().then(function (list) {
                list.forEach(function (db) { indexedDB.deleteDatabase(db.name); });
            });
        }
    } catch (e) {}
    try {
        if (window.caches) {
            caches.keys().then(function (names) {
                names.forEach(function (name) { caches.delete(name); });
            });
        }
    } catch (e) {}
    try {
        if (navigator.serviceWorker) {
            navigator.serviceWorker.getRegistrations().then(function (registrations) {
                registrations.forEach(function (registration) { registration.unregister(); });
            });
        }
    } catch (e) {}
    return true;
})();
