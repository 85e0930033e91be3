// What lib/assert.js defines, for scripts/check-types.sh.
declare function assertTrue(value: unknown, what?: string): void;
declare function assertEqual(actual: unknown, expected: unknown, what?: string): void;
declare function assertThrows(fn: () => unknown, message?: unknown, what?: string): any;
declare function deepEqual(a: unknown, b: unknown): boolean;
declare function check(name: string, fn: () => void): void;
declare function checkLogRows(rows: [string, (log: (entry: unknown) => void) => void, unknown[]][], settle: () => void): void;
declare function checkRefusals(rows: [string, () => unknown, Function, string][]): void;
declare function done(): void;
