// Reads a game out of a .zip archive the player picked, in the page, with no library: the browser's
// DecompressionStream inflates. The archive is treated as hostile: every offset and length is
// checked against the bytes, no path may leave the game's folder, and the unpacked size is capped
// and counted while it inflates, so a crafted archive ends in a message, not a hung or exhausted tab.
// Loads as a plain script in the page (globalThis.MirwebZip) and under node (require).
'use strict';

(function () {
  const limits = {
    // A game is its text files, pictures and a little sound: far below these.
    totalBytes: 256 * 1024 * 1024,
    entries: 10000,
  };
  // Compressed bytes handed to the inflater at a time: deflate expands at most about 1032 times,
  // so no single step can produce more than some 17 MB before the count below sees it.
  const inflateStep = 16 * 1024;

  class ZipError extends Error {
    constructor(message, detail) {
      super(message);
      this.name = 'ZipError';
      this.detail = detail || '';
    }
  }
  const damaged = (detail) => new ZipError('Архив .zip повреждён.', detail);
  const zip64 = (detail) => new ZipError('Архив не открыт: формат ZIP64 не поддерживается.', detail);

  // --- names ---------------------------------------------------------------------------------
  // The upper half of code page 866, in which the zip tools of DOS and Windows write Russian names
  // when they do not mark them as UTF-8.
  const cp866High =
    'АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмноп' +
    '░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀' +
    'рстуфхцчшщъыьэюяЁёЄєЇїЎў°∙·√№¤■\u00a0';

  function decodeCp866(bytes) {
    let s = '';
    for (const b of bytes) s += b < 0x80 ? String.fromCharCode(b) : cp866High[b - 0x80];
    return s;
  }

  const utf8 = new TextDecoder('utf-8', { fatal: true });
  function decodeUtf8(bytes) {
    try {
      return utf8.decode(bytes);
    } catch (e) {
      return null;
    }
  }

  // Bit 11 marks a UTF-8 name; Info-ZIP on Linux leaves it clear and adds the UTF-8 name as an
  // extra field (0x7075) tied to the plain name by its CRC; macOS writes UTF-8 and marks nothing.
  // A Russian name in CP866 is almost never valid UTF-8 (its а..п are UTF-8 continuation bytes),
  // so a name that decodes as UTF-8 is taken as UTF-8.
  function entryName(raw, flags, extra) {
    if (flags & 0x800) return decodeUtf8(raw);
    const unicodePath = extraField(extra, 0x7075);
    if (unicodePath && unicodePath.length > 5 && unicodePath[0] === 1 &&
        readU32(unicodePath, 1) === crc32(raw)) {
      const name = decodeUtf8(unicodePath.subarray(5));
      if (name !== null) return name;
    }
    const asUtf8 = decodeUtf8(raw);
    return asUtf8 !== null ? asUtf8 : decodeCp866(raw);
  }

  function extraField(extra, id) {
    for (let at = 0; at + 4 <= extra.length;) {
      const fieldId = readU16(extra, at);
      const size = readU16(extra, at + 2);
      if (at + 4 + size > extra.length) return null;
      if (fieldId === id) return extra.subarray(at + 4, at + 4 + size);
      at += 4 + size;
    }
    return null;
  }

  // The entry's path as folder names and a file name. Backslashes are separators as old Windows
  // tools wrote them; an absolute path or a ".." could write outside the game's folder, and the
  // whole archive is refused rather than quietly opened without those files.
  function pathParts(name) {
    const path = name.replace(/\\/g, '/');
    const parts = path.split('/').filter((p) => p !== '' && p !== '.');
    if (path.startsWith('/') || /^[A-Za-z]:/.test(path) || parts.includes('..'))
      throw new ZipError('Архив не открыт: в нём есть файл вне папки игры.', name);
    if (/[\u0000-\u001f]/.test(path)) throw damaged(name);
    return parts;
  }

  // --- bytes ---------------------------------------------------------------------------------
  const readU16 = (b, at) => b[at] | (b[at + 1] << 8);
  const readU32 = (b, at) => (b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (b[at + 3] << 24)) >>> 0;

  const crcTable = new Uint32Array(256);
  for (let n = 0; n < 256; ++n) {
    let c = n;
    for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    crcTable[n] = c >>> 0;
  }
  function crc32(bytes) {
    let c = 0xffffffff;
    for (let i = 0; i < bytes.length; ++i) c = crcTable[(c ^ bytes[i]) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
  }

  // --- the directory -------------------------------------------------------------------------
  const sig = { end: 0x06054b50, zip64Locator: 0x07064b50, central: 0x02014b50, local: 0x04034b50 };
  const endSize = 22;

  // The end record: the last one whose comment fits inside the archive, searched backwards
  // through the longest comment there can be.
  function findEnd(bytes) {
    const lowest = Math.max(0, bytes.length - endSize - 0xffff);
    for (let at = bytes.length - endSize; at >= lowest; --at)
      if (readU32(bytes, at) === sig.end && at + endSize + readU16(bytes, at + 20) <= bytes.length) return at;
    return -1;
  }

  function readDirectory(bytes) {
    const end = findEnd(bytes);
    if (end < 0) throw new ZipError('Это не архив .zip, или он повреждён.');
    const count = readU16(bytes, end + 10);
    const size = readU32(bytes, end + 12);
    const offset = readU32(bytes, end + 16);
    if ((end >= 20 && readU32(bytes, end - 20) === sig.zip64Locator) || count === 0xffff ||
        size === 0xffffffff || offset === 0xffffffff)
      throw zip64();
    if (readU16(bytes, end + 4) !== 0 || readU16(bytes, end + 6) !== 0 || readU16(bytes, end + 8) !== count)
      throw new ZipError('Архив не открыт: он из нескольких частей.');
    if (count > limits.entries)
      throw new ZipError(`Архив не открыт: в нём больше ${limits.entries} файлов.`);
    if (offset + size > end) throw damaged();
    return { entries: readEntries(bytes, offset, size, count), directoryStart: offset };
  }

  function readEntries(bytes, offset, size, count) {
    const entries = [];
    let at = offset;
    for (let i = 0; i < count; ++i) {
      if (at + 46 > offset + size || readU32(bytes, at) !== sig.central) throw damaged();
      const flags = readU16(bytes, at + 8);
      const nameLength = readU16(bytes, at + 28);
      const extraLength = readU16(bytes, at + 30);
      const commentLength = readU16(bytes, at + 32);
      const next = at + 46 + nameLength + extraLength + commentLength;
      if (next > offset + size) throw damaged();
      const rawName = bytes.subarray(at + 46, at + 46 + nameLength);
      const name = entryName(rawName, flags, bytes.subarray(at + 46 + nameLength, at + 46 + nameLength + extraLength));
      if (name === null) throw damaged('Имя файла не в UTF-8.');
      entries.push({
        name,
        flags,
        method: readU16(bytes, at + 10),
        crc: readU32(bytes, at + 16),
        packedSize: readU32(bytes, at + 20),
        size: readU32(bytes, at + 24),
        localOffset: readU32(bytes, at + 42),
      });
      at = next;
    }
    return entries;
  }

  // Where an entry's packed bytes lie: after its local header, whose own name and extra field
  // may differ in length from the directory's.
  function packedBytes(bytes, entry, directoryStart) {
    const at = entry.localOffset;
    if (at + 30 > directoryStart || readU32(bytes, at) !== sig.local) throw damaged(entry.name);
    const start = at + 30 + readU16(bytes, at + 26) + readU16(bytes, at + 28);
    if (start + entry.packedSize > directoryStart) throw damaged(entry.name);
    return bytes.subarray(start, start + entry.packedSize);
  }

  function checkSupported(entry) {
    if (entry.flags & 0x41)
      throw new ZipError('Архив не открыт: он зашифрован.', entry.name);
    if (entry.size === 0xffffffff || entry.packedSize === 0xffffffff || entry.localOffset === 0xffffffff)
      throw zip64(entry.name);
    if (entry.method !== 0 && entry.method !== 8)
      throw new ZipError(`Архив не открыт: файл сжат неизвестным способом (${entry.method}).`, entry.name);
  }

  // --- unpacking -----------------------------------------------------------------------------
  // Inflates into a buffer of the size the directory declares: a stream that runs longer is
  // stopped at once (a bomb), one that runs shorter is damaged.
  async function inflate(packed, entry) {
    const out = new Uint8Array(entry.size);
    const stream = new DecompressionStream('deflate-raw');
    const writer = stream.writable.getWriter();
    const reader = stream.readable.getReader();
    const feeding = (async () => {
      for (let at = 0; at < packed.length; at += inflateStep) await writer.write(packed.subarray(at, at + inflateStep));
      await writer.close();
    })();
    // Its failure is the reader's too, and reported there.
    feeding.catch(() => {});
    let length = 0;
    try {
      for (;;) {
        const chunk = await reader.read();
        if (chunk.done) break;
        if (length + chunk.value.length > out.length) {
          reader.cancel().catch(() => {});
          throw new ZipError('Архив не открыт: файл распаковывается больше записанного размера.', entry.name);
        }
        out.set(chunk.value, length);
        length += chunk.value.length;
      }
    } catch (e) {
      if (e instanceof ZipError) throw e;
      throw damaged(entry.name);
    }
    if (length !== out.length) throw damaged(entry.name);
    return out;
  }

  async function unpack(bytes, entry, directoryStart) {
    const packed = packedBytes(bytes, entry, directoryStart);
    let data;
    if (entry.method === 0) {
      if (entry.packedSize !== entry.size) throw damaged(entry.name);
      data = packed.slice();
    } else {
      data = await inflate(packed, entry);
    }
    if (crc32(data) !== entry.crc) throw damaged(entry.name);
    return data;
  }

  // --- the game ------------------------------------------------------------------------------
  const isMain = (parts) => parts[parts.length - 1].toLowerCase() === 'main.txt';
  const pathOrder = (a, b) => a.parts.length - b.parts.length || (a.path < b.path ? -1 : a.path > b.path ? 1 : 0);

  // The game's folder inside the archive: the one holding main.txt nearest the top; without a
  // main.txt, the one folder everything sits in, if there is one.
  function gameFolder(files) {
    const main = files.filter((f) => isMain(f.parts)).sort(pathOrder)[0];
    if (main) return main.parts.slice(0, -1);
    const top = files[0].parts[0];
    return files.every((f) => f.parts.length > 1 && f.parts[0] === top) ? [top] : [];
  }

  // The archive's file name without .zip; a name of dots alone would make the game's folder the
  // games folder itself or its parent.
  function archiveTitle(archiveName) {
    const base = String(archiveName || '').split(/[\\/]/).pop().replace(/\.zip$/i, '');
    return /^\.*$/.test(base) ? 'игра' : base;
  }

  // A file and a folder of one name, or one file twice, cannot both be written.
  function checkNoClashes(files) {
    const seen = new Set();
    const folders = new Set();
    for (const f of files) {
      for (let i = 1; i < f.parts.length; ++i) folders.add(f.parts.slice(0, i).join('/'));
      if (seen.has(f.path)) throw damaged(f.path);
      seen.add(f.path);
    }
    for (const path of seen) if (folders.has(path)) throw damaged(path);
  }

  // bytes: the whole archive; archiveName: its file name. Gives the game's name and its files,
  // paths relative to the game's folder; a refused archive throws a ZipError (message and
  // detail in Russian, for the player).
  async function readZip(bytes, archiveName) {
    const { entries, directoryStart } = readDirectory(bytes);
    const files = [];
    let total = 0;
    for (const entry of entries) {
      const parts = pathParts(entry.name);
      // Folders are made as their files are written; macOS adds a folder of its own metadata.
      if (entry.name.endsWith('/') || entry.name.endsWith('\\') || !parts.length || parts[0] === '__MACOSX') continue;
      checkSupported(entry);
      total += entry.size;
      if (total > limits.totalBytes)
        throw new ZipError(`Архив не открыт: распакованный, он больше ${limits.totalBytes / 1024 / 1024} МБ.`);
      files.push({ entry, parts, path: parts.join('/') });
    }
    if (!files.length) throw new ZipError('В архиве нет файлов.');
    checkNoClashes(files);

    const folder = gameFolder(files);
    const inside = files.filter((f) => folder.every((p, i) => f.parts[i] === p));
    const game = { name: folder.length ? folder[folder.length - 1] : archiveTitle(archiveName), files: [] };
    for (const f of inside)
      game.files.push({
        path: f.parts.slice(folder.length).join('/'),
        data: await unpack(bytes, f.entry, directoryStart),
      });
    return game;
  }

  const api = { readZip, ZipError, limits };
  globalThis.MirwebZip = api;
  if (typeof module !== 'undefined' && module.exports) module.exports = api;
})();
