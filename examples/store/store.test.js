// The Store plug-in of docs/plugins.md through kite test, alone:
//   kite test --plugin=FOLDER-OF-libStore.so/libStore.so store.test.js
'use strict';

test('options make the store', () => {
  const rows = [
    // options, its name, or what new Store throws
    [undefined, 'store'],
    [{ name: 'notes' }, 'notes'],
    [{ name: 'notes', limit: 2 }, 'notes'],
    [{ limit: 'many' }, 'store'],
    [{ limit: 0 }, null, { name: 'RangeError', message: 'Store: limit must be from 1 to 1000000' }],
  ];
  for (const [options, name, error] of rows) {
    if (error) assert.throws(() => new Store(options), error);
    else {
      const store = new Store(options);
      assert.equal(store.name, name, JSON.stringify(options));
      kite.destroy(store);
    }
  }
});

test('methods take typed arguments', () => {
  const store = new Store({ limit: 2 });
  const rows = [
    // call, its answer, or what it throws
    [() => store.set('a', 'x'), 1],
    [() => store.set('b', 'y'), 2],
    [() => store.set('a', 'z'), 2],
    [() => store.set('c', 'w'), null, { name: 'RangeError', message: 'Store.set: store is full' }],
    [() => store.get('a'), 'z'],
    [() => store.get('none'), null],
    [() => store.keys(), ['a', 'b']],
    [() => store.remove('b'), true],
    [() => store.remove('b'), false],
    [() => store.size, 1],
    [() => store.set('a', 5), null, { name: 'TypeError', message: 'Store.set: argument 2 must be a string' }],
    [() => store.set('a'), null, { name: 'TypeError', message: 'Store.set: needs 2 arguments, got 1' }],
    [() => store.get.call({}, 'a'), null,
     { name: 'TypeError', message: 'Illegal invocation: Store.get on an object that is not a Store' }],
  ];
  for (const [call, answer, error] of rows) {
    if (error) assert.throws(call, error);
    else assert.deepEqual(call(), answer, call.toString());
  }
  kite.destroy(store);
});

test('size and name are read-only, onsaved reads back', () => {
  const store = new Store();
  assert.throws(() => { store.size = 3; }, TypeError);
  assert.throws(() => { store.name = 'other'; }, TypeError);
  assert.equal(store.onsaved, null);
  const onsaved = () => {};
  store.onsaved = onsaved;
  assert.equal(store.onsaved, onsaved);
  assert.throws(() => { store.onsaved = 5; },
                { name: 'TypeError', message: 'Store.onsaved: the value must be a function, null or undefined' });
  assert.equal(Store.LIMIT, 1000000);
  kite.destroy(store);
});

test('save reports from the worker thread, in order', async () => {
  const store = new Store();
  store.set('b', '2');
  store.set('a', '1');
  const texts = [];
  const saved = new Promise((resolve) => {
    store.onsaved = (text) => {
      texts.push(text);
      if (texts.length === 2) resolve(texts);
    };
  });
  store.save();
  store.remove('b');
  store.save();
  assert.deepEqual(await saved, ['a=1\nb=2\n', 'a=1\n']);
  kite.destroy(store);
});
