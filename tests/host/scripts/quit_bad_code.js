for (const code of [-1, 256, 1.5, "2", NaN]) {
  try { kite.quit(code); console.log("accepted " + String(code)); }
  catch (e) { console.log(e.name + ": " + e.message); }
}
