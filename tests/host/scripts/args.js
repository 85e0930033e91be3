console.log(kite.args.length + ":" + kite.args.join("|"));
