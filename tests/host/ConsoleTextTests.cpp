// What console.log prints for its arguments, row by row; each answer is
// what Node 20's console.log printed for the same arguments. Which stream
// each method writes to: tests/host/KiteRuns.cmake.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "V8Test.h"
#include "console/ConsoleText.h"

namespace {

using ConsoleTextTest = TestSupport::CV8Test;

// Errors get a fixed stack, so that the rows do not depend on where they run.
const char* const PRELUDE =
    "function err(Type, message, stack) { const e = new Type(message); e.stack = stack; return e; }\n"
    "class Foo {}\n";

struct CRow {
    std::string m_strName;
    std::string m_strArguments;  // a script whose value is the array of arguments
    std::string m_strPrinted;    // "throws: Error: MESSAGE" when formatting throws
};

const CRow ROWS[] = {
    // Primitives at the top are printed as String() would, strings as they are.
    {"strings as they are", "['a\\nb', 'it\\'s']", "a\nb it's"},
    {"primitives", "[1, -0, 5n, true, null, undefined, Symbol('s'), Symbol()]",
     "1 -0 5n true null undefined Symbol(s) Symbol()"},
    {"nothing", "[]", ""},
    // Inside values strings are quoted and escaped.
    {"quotes", "[['plain', \"it's\", `both ' \"`, 'all \\' \" `']]",
     "[ 'plain', \"it's\", `both ' \"`, 'all \\' \" `' ]"},
    {"escapes", "[['a\\x01b\\x7f\\tc\\b\\f\\v\\0\\n', '\\ud83d', '\\u{1F600}', 'é']]",
     "[ 'a\\x01b\\x7F\\tc\\b\\f\\x0B\\x00\\n', '\\ud83d', '\xF0\x9F\x98\x80', '\xC3\xA9' ]"},
    {"long string", "[['x'.repeat(10003)]]", "[\n  '" + std::string(10000, 'x') + "'... 3 more characters\n]"},
    {"numbers", "[[1.5, -2, NaN, Infinity, 1e21, 2 ** 53, -0, 5n]]",
     "[ 1.5, -2, NaN, Infinity, 1e+21, 9007199254740992, -0, 5n ]"},
    // Objects and arrays, nested to a depth of two.
    {"object", "[{ a: 1, b: 'x', c: [1, 2, 3], d: { e: null, f: undefined } }]",
     "{ a: 1, b: 'x', c: [ 1, 2, 3 ], d: { e: null, f: undefined } }"},
    {"empty ones", "[{}, [], { und: undefined, arr: [], obj: {}, str: '' }]",
     "{} [] { und: undefined, arr: [], obj: {}, str: '' }"},
    {"depth", "[{ a: { b: { c: { d: 1 } } } }, [[1, [2, [3]]]], { a: { b: { c: {} } } }]",
     "{ a: { b: { c: [Object] } } } [ [ 1, [ 2, [Array] ] ] ] { a: { b: { c: {} } } }"},
    {"keys", "[{ 'a-b': 1, c: 2, 3: 4, [Symbol('s')]: 5, '\xC3\xBC': 6, $x: 7, _y: 8, '': 9 }]",
     "{\n  '3': 4,\n  'a-b': 1,\n  c: 2,\n  '\xC3\xBC': 6,\n  '$x': 7,\n  _y: 8,\n  '': 9,\n  [Symbol(s)]: 5\n}"},
    {"accessors", "[{ get g() { return 1; }, set s(v) {}, get gs() { return 1; }, set gs(v) {} }]",
     "{ g: [Getter], s: [Setter], gs: [Getter/Setter] }"},
    {"arrays with holes and keys", "[[1, , 3], [, ,], Object.assign([1, 2], { a: 1 }), new Array(5)]",
     "[ 1, <1 empty item>, 3 ] [ <2 empty items> ] [ 1, 2, a: 1 ] [ <5 empty items> ]"},
    {"sparse array", "const a = []; a[7] = 'x'; a.length = 2 ** 32 - 1; [a]",
     "[ <7 empty items>, 'x', <4294967287 empty items> ]"},
    {"element getter", "[Object.defineProperty([1, 2], 0, { get() { return 7; } })]", "[ [Getter], 2 ]"},
    // Longer than a line: one entry per line; many short elements in columns.
    {"breaks at 80 columns", "[{ k: 'x'.repeat(62) }, { k: 'x'.repeat(63) }]",
     "{ k: '" + std::string(62, 'x') + "' } {\n  k: '" + std::string(63, 'x') + "'\n}"},
    {"columns", "[Array.from({ length: 30 }, (_, i) => i)]",
     "[\n   0,  1,  2,  3,  4,  5,  6,  7,  8,\n   9, 10, 11, 12, 13, 14, 15, 16, 17,\n"
     "  18, 19, 20, 21, 22, 23, 24, 25, 26,\n  27, 28, 29\n]"},
    {"seven short elements", "[[0, 1, 2, 3, 4, 5, 6], ['x0', 'x1', 'x2', 'x3', 'x4', 'x5']]",
     "[\n  0, 1, 2, 3,\n  4, 5, 6\n] [ 'x0', 'x1', 'x2', 'x3', 'x4', 'x5' ]"},
    {"text columns inside an object",
     "[{ deep: { list: Array.from({ length: 10 }, (_, i) => 'ab'.repeat(i % 4)) } }]",
     "{\n  deep: {\n    list: [\n      '',     'ab',\n      'abab', 'ababab',\n      '',     'ab',\n"
     "      'abab', 'ababab',\n      '',     'ab'\n    ]\n  }\n}"},
    {"a hundred elements", "[Array.from({ length: 103 }, () => 0)]",
     "[\n  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n"
     "  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n"
     "  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n"
     "  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,\n"
     "  0, 0, 0, 0,\n  ... 3 more items\n]"},
    // Cycles.
    {"cycles", "const o = { name: 'o' }; o.self = o; o.list = [o, { o }]; [o]",
     "<ref *1> {\n  name: 'o',\n  self: [Circular *1],\n  list: [ [Circular *1], { o: [Circular *1] } ]\n}"},
    {"cycle through an array and a Map", "const a = [1]; a.push(a); const m = new Map(); m.set('m', m); [a, m]",
     "<ref *1> [ 1, [Circular *1] ] <ref *1> Map(1) { 'm' => [Circular *1] }"},
    // Class names.
    {"instances", "class Bar extends Foo { constructor() { super(); this.x = [1]; } } [new Foo(), new Bar(), [new Foo()]]",
     "Foo {} Bar { x: [ 1 ] } [ Foo {} ]"},
    {"tags", "class T { get [Symbol.toStringTag]() { return 'TT'; } } [Math, new T(), { [Symbol.toStringTag]: 'Own', a: 1 }]",
     "Object [Math] {} T [TT] {} { a: 1, [Symbol(Symbol.toStringTag)]: 'Own' }"},
    {"subclasses", "[new (class M extends Map {})([[1, 2]]), new (class S extends Set {})([1]), new (class A extends Array {})(1, 2)]",
     "M(1) [Map] { 1 => 2 } S(1) [Set] { 1 } A(2) [ 1, 2 ]"},
    {"beyond the depth", "[{ a: { b: { foo: new Foo(), bar: Object.assign(new Foo(), { x: 1 }), m: new Map([[1, 2]]) } } }]",
     "{ a: { b: { foo: Foo {}, bar: [Foo], m: [Map] } } }"},
    // Functions and classes.
    {"functions",
     "[{ f() {}, g: function () {}, h: () => {}, k: class K {}, l: class extends Array {}, m: async function q() {}, "
     "n: function* () {}, o: async () => {} }]",
     "{\n  f: [Function: f],\n  g: [Function: g],\n  h: [Function: h],\n  k: [class K],\n  l: [class l extends Array],\n"
     "  m: [AsyncFunction: q],\n  n: [GeneratorFunction: n],\n  o: [AsyncFunction: o]\n}"},
    {"function with properties", "function withProps() {} withProps.x = 1; [withProps, [function () {}]]",
     "[Function: withProps] { x: 1 } [ [Function (anonymous)] ]"},
    // Map, Set and the other kinds.
    {"Map and Set", "[new Set(), new Map(), new Set([1, 'a', [2]]), new Map([[{ a: 1 }, 'x']])]",
     "Set(0) {} Map(0) {} Set(3) { 1, 'a', [ 2 ] } Map(1) { { a: 1 } => 'x' }"},
    {"Map over lines",
     "[new Map([[{ a: 1, b: 'two', c: [3] }, { x: 'a long value here to wrap the line' }], ['k2', 'value number two is long']])]",
     "Map(2) {\n  { a: 1, b: 'two', c: [ 3 ] } => { x: 'a long value here to wrap the line' },\n"
     "  'k2' => 'value number two is long'\n}"},
    {"iterators and weak ones", "[['a'].keys(), new Map([[1, 2]]).entries(), new Set([5]).values(), new WeakMap()]",
     "Object [Array Iterator] {} [Map Entries] { [ 1, 2 ] } [Set Iterator] { 5 } WeakMap { <items unknown> }"},
    {"dates and regular expressions", "[new Date(0), new Date(NaN), /ab+c/gi, Object.assign(new Date(-1), { x: 1 })]",
     "1970-01-01T00:00:00.000Z Invalid Date /ab+c/gi 1969-12-31T23:59:59.999Z { x: 1 }"},
    {"boxed primitives", "[new Number(5), new String('ab'), new Boolean(false), Object(Symbol('s')), Object(5n)]",
     "[Number: 5] [String: 'ab'] [Boolean: false] [Symbol: Symbol(s)] [BigInt: 5n]"},
    {"promises", "const r = Promise.reject(3); r.catch(() => {}); [Promise.resolve(4), new Promise(() => {}), r]",
     "Promise { 4 } Promise { <pending> } Promise { <rejected> 3 }"},
    {"binary data", "[new Uint8Array([1, 2, 3]), new ArrayBuffer(3), new BigInt64Array(1)]",
     "Uint8Array(3) [ 1, 2, 3 ] ArrayBuffer { [Uint8Contents]: <00 00 00>, byteLength: 3 } BigInt64Array(1) [ 0n ]"},
    {"proxies run no trap", "[new Proxy({ a: 1 }, { get() { throw new Error('trap'); } }), new Proxy([1, 2], {})]",
     "{ a: 1 } [ 1, 2 ]"},
    // Errors with their stacks.
    {"error", "[err(Error, 'boom', 'Error: boom\\n    at f (x.js:1:2)')]", "Error: boom\n    at f (x.js:1:2)"},
    {"error inside", "[{ e: err(Error, 'boom', 'Error: boom\\n    at f (x.js:1:2)') }]",
     "{\n  e: Error: boom\n      at f (x.js:1:2)\n}"},
    {"error with a property", "const e = err(Error, 'b', 'Error: b\\n    at f (x.js:1:2)'); e.code = 'E_X'; [e]",
     "Error: b\n    at f (x.js:1:2) {\n  code: 'E_X'\n}"},
    {"error without calls", "[err(TypeError, 'bad', undefined), err(Error, 'm', 'custom stack text')]",
     "[TypeError: bad] [custom stack text]"},
    {"error's class", "class V extends Error {} class TypeErrorX extends TypeError {} "
     "[err(V, 'y', 'Error: y\\n    at q (a.js:1:1)'), err(TypeErrorX, 'z', 'TypeError: z\\n    at q (a.js:1:1)')]",
     "V [Error]: y\n    at q (a.js:1:1) TypeErrorX: z\n    at q (a.js:1:1)"},
    {"error's cause", "const e = err(Error, 'o', 'Error: o\\n    at a (f.js:1:1)'); "
     "Object.defineProperty(e, 'cause', { value: 'why', enumerable: false }); [e]",
     "Error: o\n    at a (f.js:1:1) {\n  [cause]: 'why'\n}"},
    // Format specifiers in a leading string.
    {"%s", "['%s|%s|%s|%s|%s|%s', 'str', 42, -0, 5n, Symbol('q'), null]", "str|42|-0|5n|Symbol(q)|null"},
    {"%s of objects", "['%s|%s|%s|%s', { a: { b: 1 } }, [1, [2]], { toString() { return 'own'; } }, new Date(0)]",
     "{ a: [Object] }|[ 1, [Array] ]|own|1970-01-01T00:00:00.000Z"},
    {"%s of functions", "['%s', function fn() {}]", "function fn() {}"},
    {"%d", "['%d|%d|%d|%d|%d|%d', 42, '42', 5n, -0, {}, Symbol('s')]", "42|42|5n|-0|NaN|NaN"},
    {"%i", "['%i|%i|%i|%i|%i|%i', 42.9, '42.9x', 5n, -3.5, '0x1F', '  -12e3']", "42|42|5n|-3|31|-12"},
    {"%f", "['%f|%f|%f|%f|%f', '1.5e3', 'abc', 2, ' -Infinityx', '.5e-1z']", "1500|NaN|2|-Infinity|0.05"},
    {"%j", "const c = {}; c.c = c; ['%j|%j|%j|%j', { a: [1] }, 'str', undefined, c]", "{\"a\":[1]}|\"str\"|undefined|[Circular]"},
    {"%o", "['%o', { a: [1, 2], f() {} }]",
     "{\n  a: [ 1, 2, [length]: 2 ],\n  f: [Function: f] { [length]: 0, [name]: 'f' }\n}"},
    {"%O", "['%O', { a: { b: { c: { d: {} } } } }]", "{ a: { b: { c: [Object] } } }"},
    {"%% %c and unknown ones", "['%% %s %x %c|%', 'a', 'color: red']", "% a %x |%"},
    {"more arguments than specifiers", "['%s', 'one', 'two', 3, { a: 1 }]", "one two 3 { a: 1 }"},
    {"fewer arguments", "['%s %s', 'one']", "one %s"},
    {"a lone string keeps its %", "['%s %%']", "%s %%"},
    {"no format after the first", "[5, '%s', 'x']", "5 %s x"},
    // Script code that throws while values are formatted.
    {"a valueOf that throws", "['%d', { valueOf() { throw new Error('valueOf ran'); } }]", "throws: Error: valueOf ran"},
    {"a BigInt in JSON", "['%j', 5n]", "throws: TypeError: Do not know how to serialize a BigInt"},
};

TEST_F(ConsoleTextTest, PrintsWhatNodePrints)
{
    Eval(PRELUDE);
    for (const CRow& row : ROWS) {
        CScope scope(*this);
        v8::Local<v8::Value> list = Run("{" + row.m_strArguments + "}");
        if (list.IsEmpty() || !list->IsArray()) {
            ADD_FAILURE() << row.m_strName << ": the arguments are no array";
            continue;
        }
        std::vector<v8::Local<v8::Value>> aArguments;
        for (uint32_t i = 0; i < list.As<v8::Array>()->Length(); ++i)
            aArguments.push_back(list.As<v8::Array>()->Get(Context(), i).ToLocalChecked());
        v8::TryCatch tryCatch(Isolate());
        std::string strPrinted;
        if (!Kite::FormatConsoleArguments(Context(), aArguments, strPrinted)) {
            v8::String::Utf8Value message(Isolate(), tryCatch.Message()->Get());
            strPrinted = std::string("throws: ") + *message;
            strPrinted.erase(strPrinted.find("Uncaught "), 9);
        }
        EXPECT_EQ(strPrinted, row.m_strPrinted) << row.m_strName;
    }
}

TEST(DurationTextTest, AsConsoleTimeEndPrintsIt)
{
    const struct {
        double m_dMilliseconds;
        const char* m_pszText;
    } ROWS[] = {
        {0.0504, "0.05ms"},       {12, "12ms"},        {999.9994, "999.999ms"},
        {1500, "1.500s"},         {59999, "59.999s"},  {62003, "1:02.003 (m:ss.mmm)"},
        {3723004, "1:02:03.004 (h:mm:ss.mmm)"},
    };
    for (const auto& row : ROWS)
        EXPECT_EQ(Kite::DurationText(row.m_dMilliseconds), row.m_pszText) << row.m_dMilliseconds;
}

}  // namespace
