// Where the app tools for the TV's engine find what scripts/setup.sh
// installed into .deps/: the TV engine's V8 (Node.js 0.12.18), TypeScript,
// and the build's compiler and run-time libraries.
"use strict";
const path = require("path");

const root = path.resolve(__dirname, "..");
const deps = path.join(root, ".deps");

module.exports = {
  root,
  // V8 3.28, the TV engine's generation.
  tvNode: path.join(deps, "node-v0.12.18", "bin", "node"),
  typescript: path.join(deps, "typescript", "node_modules", "typescript"),
  // swc, its helpers and core-js, for kite build --target=tv.
  buildModules: path.join(deps, "tv-build", "node_modules"),
  // The TV engine's built-ins, as the probe of its V8 found them.
  engineTypes: path.join(root, "types", "tv", "engine.d.ts"),
  // Declarations of what kite and the plug-in give scripts.
  publicTypes: ["tether.d.ts", "kite.d.ts", "sim.d.ts"].map((name) => path.join(root, "types", name)),
  testTypes: path.join(root, "types", "kite-test.d.ts"),
  // How a tool names itself in its messages: as kite's command when kite
  // runs it (KITE_COMMAND), else as the file.
  commandName: (file) => process.env.KITE_COMMAND || file,
};
