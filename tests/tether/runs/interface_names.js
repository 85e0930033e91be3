// Prints the names of Tether's methods, on one line, then those of an
// object's callback properties, in the order the class installs them. V8
// lists an instance's template accessors from the last installed to the
// first.
const player = new Tether();
console.log(Object.getOwnPropertyNames(Tether.prototype).filter((name) => name !== "constructor").join(" "));
console.log(Object.getOwnPropertyNames(player).reverse().join(" "));
kite.destroy(player);
