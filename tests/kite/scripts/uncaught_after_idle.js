kite.afterIdle(function failingIdle() { throw new TypeError("from afterIdle"); });
kite.afterIdle(() => console.log("next idle ran"));
