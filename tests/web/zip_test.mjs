// The page's .zip reader (web/zip.js) under node: what it unpacks, which folder becomes the game,
// and how it refuses damaged and hostile archives: each refusal a ZipError with a Russian message,
// never another exception, never a long wait.
//   node tests/web/zip_test.mjs
import { createRequire } from 'node:module';
import { deflateRawSync } from 'node:zlib';
import { crc32, makeZip } from './zip_writer.mjs';

const { readZip, ZipError, limits } = createRequire(import.meta.url)('../../web/zip.js');

const failures = [];
async function test(what, body) {
  try {
    await body();
    console.log(`ok   ${what}`);
  } catch (e) {
    failures.push(what);
    console.log(`FAIL ${what}\n     ${e.stack || e}`);
  }
}
function expect(ok, what) {
  if (!ok) throw new Error(what);
}
const text = (data) => Buffer.from(data).toString('utf8');
const listing = (game) => game.files.map((f) => f.path).sort().join(' ');

// The archive must be refused with a message that holds `words`.
async function refused(bytes, words, name = 'a.zip') {
  let game;
  try {
    game = await readZip(bytes, name);
  } catch (e) {
    expect(e instanceof ZipError, `not a ZipError: ${e.stack}`);
    expect(e.message.includes(words), `the message "${e.message}" lacks "${words}"`);
    return e;
  }
  throw new Error(`accepted, giving ${listing(game)}`);
}

// "Игра/Мельница.png" as the zip tools of DOS and Windows write it.
const cp866Name = [0x88, 0xa3, 0xe0, 0xa0, 0x2f, 0x8c, 0xa5, 0xab, 0xec, 0xad, 0xa8, 0xe6, 0xa0, 0x2e, 0x70, 0x6e, 0x67];

await test('stored and deflated files come out as written, names in UTF-8 and in CP866', async () => {
  const big = Buffer.from('Вы стоите на развилке дорог.\r\n'.repeat(500));
  const game = await readZip(makeZip([
    { name: 'Игра/main.txt', data: 'начало', method: 0, utf8: true },
    { name: 'Игра/room1.txt', data: big, method: 8, utf8: true },
    { name: cp866Name, data: 'png', method: 0 },
    { name: 'Игра/empty.txt', data: '', method: 8, utf8: true },
  ]), 'x.zip');
  expect(game.name === 'Игра', `name ${game.name}`);
  expect(listing(game) === 'empty.txt main.txt room1.txt Мельница.png', listing(game));
  const file = (path) => game.files.find((f) => f.path === path).data;
  expect(text(file('main.txt')) === 'начало', 'stored text');
  expect(Buffer.from(file('room1.txt')).equals(big), 'deflated text');
  expect(file('empty.txt').length === 0, 'empty file');
});

await test('every CP866 letter is decoded as the DOS code page has it', async () => {
  // Every byte of the upper half; starting at 0x80 it cannot pass for UTF-8.
  const high = Array.from({ length: 128 }, (_, i) => 0x80 + i);
  const game = await readZip(makeZip([{ name: high, data: 'x', method: 0 }]), 'a.zip');
  expect(game.files[0].path === new TextDecoder('ibm866').decode(Uint8Array.from(high)), game.files[0].path);
});

await test('unmarked UTF-8 names (macOS) and the Unicode path field (Info-ZIP) are read as UTF-8', async () => {
  const raw = Buffer.from('Игра/main.txt', 'utf8');
  const plain = Buffer.from('Igra/main.txt');
  const unicodePath = Buffer.concat([Buffer.from([0x75, 0x70]), Buffer.alloc(2), Buffer.from([1]), Buffer.alloc(4), raw]);
  unicodePath.writeUInt16LE(unicodePath.length - 4, 2);
  unicodePath.writeUInt32LE(crc32(plain), 5);
  for (const entry of [{ name: raw }, { name: plain, extra: unicodePath }]) {
    const game = await readZip(makeZip([{ data: 'x', method: 0, ...entry }]), 'a.zip');
    expect(game.name === 'Игра', game.name);
  }
  // A name marked as UTF-8 that is not is a damaged archive.
  await refused(makeZip([{ name: cp866Name, data: 'x', utf8: true }]), 'повреждён');
  // A Unicode path field written for another name is stale: the plain name stands.
  unicodePath.writeUInt32LE(crc32(Buffer.from('other')), 5);
  const game = await readZip(makeZip([{ name: plain, extra: unicodePath, data: 'x', method: 0 }]), 'a.zip');
  expect(game.name === 'Igra', game.name);
});

await test('the game is the folder holding main.txt nearest the top, else the one top folder, else the archive', async () => {
  const cases = [
    // [entries, archive name, expected name, expected files]
    [['Игра/main.txt', 'Игра/room1.txt', 'Игра/pic/a.png'], 'x.zip', 'Игра', 'main.txt pic/a.png room1.txt'],
    [['Игра/Игра/MAIN.TXT', 'Игра/Игра/room1.txt', 'Игра/readme.txt'], 'x.zip', 'Игра', 'MAIN.TXT room1.txt'],
    [['a/b/main.txt', 'c/main.txt', 'c/room1.txt'], 'x.zip', 'c', 'main.txt room1.txt'],
    [['main.txt', 'room1.txt'], 'Сказка.ZIP', 'Сказка', 'main.txt room1.txt'],
    [['Сказка/room1.txt', 'Сказка/pic/a.png'], 'x.zip', 'Сказка', 'pic/a.png room1.txt'],
    [['a/room1.txt', 'b/room2.txt'], 'C:\\Загрузки\\сказка.zip', 'сказка', 'a/room1.txt b/room2.txt'],
    [['room1.txt'], '..zip', 'игра', 'room1.txt'],
    // Folders are skipped; so is the metadata macOS adds beside the game.
    [['Игра/', 'Игра/room1.txt', '__MACOSX/Игра/._room1.txt', 'Игра/./pic//a.png'], 'x.zip', 'Игра', 'pic/a.png room1.txt'],
  ];
  for (const [names, archive, name, files] of cases) {
    const game = await readZip(makeZip(names.map((n) => ({ name: n, data: n.endsWith('/') ? '' : 'x', utf8: true }))), archive);
    expect(game.name === name && listing(game) === files, `${names}: ${game.name}: ${listing(game)}`);
  }
});

await test('a path that leaves the game folder refuses the whole archive, naming it', async () => {
  for (const name of ['../evil.txt', 'Игра/../../evil.txt', '/etc/evil', '\\evil.txt', 'Игра\\..\\..\\evil.txt', 'C:/evil.txt', '../']) {
    const e = await refused(makeZip([{ name: 'Игра/main.txt', data: 'x' }, { name, data: 'x' }]), 'вне папки игры');
    expect(e.detail === name, `detail ${e.detail}`);
  }
});

await test('a file and a folder of one name, or a name twice, are refused', async () => {
  await refused(makeZip([{ name: 'a/b', data: 'x' }, { name: 'a/b/c', data: 'x' }]), 'повреждён');
  await refused(makeZip([{ name: 'a/b', data: 'x' }, { name: 'a\\b', data: 'y' }]), 'повреждён');
});

// The archive used to damage: two files, one stored, one deflated, and a directory.
const sample = makeZip([
  { name: 'Игра/main.txt', data: 'начало игры', method: 0, utf8: true },
  { name: 'Игра/room1.txt', data: 'Вы стоите на развилке. '.repeat(20), method: 8, utf8: true },
]);

await test('an archive cut short at any length is refused as damaged or not a zip', async () => {
  for (let length = 0; length < sample.length; ++length)
    await refused(sample.subarray(0, length), 'zip').catch((e) => {
      throw new Error(`cut at ${length}: ${e.message}`);
    });
});

await test('any one byte changed gives the same files or a ZipError, never another exception', async () => {
  const good = await readZip(sample, 'a.zip');
  for (let at = 0; at < sample.length; ++at) {
    for (const value of [0x00, 0xff, sample[at] ^ 0x01]) {
      const bytes = sample.slice();
      bytes[at] = value;
      try {
        const game = await readZip(bytes, 'a.zip');
        // A byte the reader does not look at (a time, a version, an attribute) changes nothing in
        // the data: the CRC sees every change there.
        for (const [i, f] of game.files.entries())
          expect(Buffer.from(f.data).equals(Buffer.from(good.files[i].data)), `byte ${at} = ${value}: the data changed unnoticed`);
      } catch (e) {
        if (!(e instanceof ZipError)) throw new Error(`byte ${at} = ${value}: ${e.stack}`);
      }
    }
  }
});

await test("an end record inside the archive comment is not taken for the archive's own", async () => {
  const fake = Buffer.from([0x50, 0x4b, 0x05, 0x06, ...Array(16).fill(0), 0xff, 0xff]);
  const game = await readZip(makeZip([{ name: 'main.txt', data: 'x' }], { comment: fake }), 'a.zip');
  expect(listing(game) === 'main.txt', listing(game));
});

await test('sizes that do not match the bytes are refused even where the CRC agrees', async () => {
  // The CRC is that of what a careless reader would take: the short stream padded with zeros,
  // the stored bytes past the declared size, the stored bytes running on into the directory.
  const padded = Buffer.concat([Buffer.from('abc'), Buffer.alloc(7)]);
  await refused(makeZip([{ name: 'short.txt', data: 'abc', size: 10, crc: crc32(padded) }]), 'повреждён');
  await refused(makeZip([{ name: 'long.txt', data: 'abcdef', method: 0, size: 3 }]), 'повреждён');
  const directoryStart = Buffer.from([0x50, 0x4b, 0x01, 0x02, 20, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0x21, 0]);
  const overlap = Buffer.concat([Buffer.from('abc'), directoryStart]);
  await refused(makeZip([{ name: 'a.txt', data: 'abc', method: 0, size: overlap.length, packedSize: overlap.length, crc: crc32(overlap) }]), 'повреждён');
});

await test('a wrong CRC is refused, naming the file', async () => {
  for (const method of [0, 8]) {
    const e = await refused(makeZip([{ name: 'main.txt', data: 'начало', method, crc: 12345 }]), 'повреждён');
    expect(e.detail === 'main.txt', e.detail);
  }
});

await test('a bomb is stopped while it inflates, and declared sizes past the cap before anything inflates', async () => {
  const zeros = Buffer.alloc(64 * 1024 * 1024);
  // Declares 1000 bytes, inflates to 64 MB.
  const bomb = makeZip([{ name: 'bomb.txt', data: zeros, size: 1000 }]);
  let started = Date.now();
  await refused(bomb, 'больше записанного размера');
  const stopped = Date.now() - started;
  expect(stopped < 1000, `the bomb took ${stopped} ms`);
  // Two entries of 200 MB: more than a game may unpack to.
  started = Date.now();
  await refused(makeZip([{ name: 'a.txt', data: 'x', size: 200 << 20 }, { name: 'b.txt', data: 'x', size: 200 << 20 }]),
    `${limits.totalBytes / 1024 / 1024} МБ`);
  const capped = Date.now() - started;
  expect(capped < 100, `the cap took ${capped} ms`);
  console.log(`     (a bomb of ${bomb.length} bytes refused in ${stopped} ms, the cap in ${capped} ms)`);
});

await test('encryption, ZIP64, unknown methods, many parts and too many entries are refused with a message', async () => {
  await refused(makeZip([{ name: 'main.txt', data: 'x', flags: 0x1 }]), 'зашифрован');
  await refused(makeZip([{ name: 'main.txt', data: 'x', method: 0, methodField: 99 }]), 'неизвестным способом (99)');
  await refused(makeZip([{ name: 'main.txt', data: 'x', method: 0, methodField: 12 }]), 'неизвестным способом (12)');
  await refused(makeZip([{ name: 'main.txt', data: 'x', size: 0xffffffff }]), 'ZIP64');
  await refused(makeZip([{ name: 'main.txt', data: 'x' }], { zip64Locator: true }), 'ZIP64');
  const parts = makeZip([{ name: 'main.txt', data: 'x' }]);
  parts[parts.length - 18] = 1; // the number of this disk
  await refused(parts, 'нескольких частей');
  const many = Array.from({ length: limits.entries + 1 }, (_, i) => ({ name: `f${i}`, data: '', method: 0 }));
  await refused(makeZip(many), 'больше 10000 файлов');
  await refused(makeZip([]), 'нет файлов');
  await refused(new TextEncoder().encode('Это текст, не архив.'), 'не архив');
});

console.log(`zip reader: ${failures.length ? 'failed' : 'passed'}`);
process.exit(failures.length ? 1 : 0);
