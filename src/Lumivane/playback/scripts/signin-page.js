// What the sign-in window checks for a blocked-browser page: title, the start of the
// visible text and the address, as one JSON text.
(function () {
    var body = document.body ? (document.body.innerText || '') : '';
    return JSON.stringify({
        t: document.title || '',
        b: body.slice(0, 4000),
        u: String(location.href || '')
    });
})();
