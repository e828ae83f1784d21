// The runtime's side of the bridge between the engine (mirweb-core.wasm) and the page: the queue
// of page events the engine waits on, the view and dialogs handed to the page, the audio slots,
// and the games folder kept in IndexedDB. The page talks only to Module.mirweb; the engine only to
// the page's hooks in Module.mirwebPage (README.md beside this file).
Module['mirweb'] = (function () {
  const queue = [];
  let wake = null;
  let current = null;
  let timer = null;
  let lastView = null;

  const hooks = () => Module['mirwebPage'] || {};

  function allocated(text) {
    const size = lengthBytesUTF8(text) + 1;
    const at = _malloc(size);
    stringToUTF8(text, at, size);
    return at;
  }

  // --- events --------------------------------------------------------------------------------
  function send(event) {
    queue.push(event);
    if (wake) {
      const w = wake;
      wake = null;
      w();
    }
  }

  function waitEvent() {
    if (queue.length) {
      current = queue.shift();
      return Promise.resolve();
    }
    return new Promise((resolve) => {
      wake = () => {
        current = queue.shift();
        resolve();
      };
    });
  }

  // --- the games folder ----------------------------------------------------------------------
  let gamesFolder = null;
  let persisted = '';
  let syncing = false;
  let syncAgain = false;

  // What the folder holds: every path with its time of change and size. A save changes it.
  function signature(path) {
    let text = '';
    const walk = (p) => {
      for (const name of FS.readdir(p)) {
        if (name === '.' || name === '..') continue;
        const child = p + '/' + name;
        const st = FS.stat(child);
        text += child + ':' + st.mtime.getTime() + ':' + st.size + ';';
        if (FS.isDir(st.mode)) walk(child);
      }
    };
    walk(path);
    return text;
  }

  // Copies each file of `from` into `to` where the copy there differs, leaving saves and
  // anything else the player wrote. A file that is already the same is not written again, so
  // that it is not stored again.
  function unpack(from, to) {
    for (const name of FS.readdir(from)) {
      if (name === '.' || name === '..') continue;
      const source = from + '/' + name;
      const target = to + '/' + name;
      const there = FS.analyzePath(target);
      if (FS.isDir(FS.stat(source).mode)) {
        if (!there.exists) FS.mkdir(target);
        unpack(source, target);
        continue;
      }
      const bytes = FS.readFile(source);
      const old = there.exists ? FS.readFile(target) : null;
      if (!old || old.length !== bytes.length || old.some((b, i) => b !== bytes[i]))
        FS.writeFile(target, bytes);
    }
  }

  // A mark in the page's local storage that the games folder was once stored in IndexedDB. Without
  // it (a first visit) the engine need not wait for the database, whose first opening in a browser
  // profile takes longer than the engine's whole start.
  const storedMark = 'mirweb-games-stored';
  function everStored() {
    try {
      return localStorage.getItem(storedMark) !== null;
    } catch (e) {
      return true; // no way to tell: wait for the database
    }
  }
  function markStored() {
    try {
      localStorage.setItem(storedMark, '1');
    } catch (e) {
      // The next visit waits for the database, as now.
    }
  }

  // True until what the database holds has been read into the folder: nothing is written back
  // before, since a write makes the database hold what the folder holds and would drop the rest.
  let restoring = false;
  let persistWhenRestored = false;

  // Reads back into the folder each file and folder the database holds that the folder does not
  // (a browser may keep the database and forget the mark). What the folder holds already wins: the
  // built-in games as this version has them, and anything the player saved since the start.
  function restoreMissing(folder, then) {
    IDBFS.getRemoteSet(FS.lookupPath(folder).node.mount, (error, remote) => {
      if (error) return then(error, false);
      const missing = {};
      for (const path of Object.keys(remote.entries))
        if (!FS.analyzePath(path).exists) missing[path] = remote.entries[path];
      const found = Object.keys(missing).length > 0;
      IDBFS.reconcile({ type: 'remote', db: remote.db, entries: missing }, { type: 'local', entries: {} },
                      (e) => then(e, found));
    });
  }

  // Mounts the games folder, reads it back from IndexedDB, and unpacks the built-in games into
  // it. Where the browser keeps no IndexedDB (a private window may refuse it), the folder lives in
  // memory only. On a first visit the engine starts at once and the database is read meanwhile.
  function mountGames(folder, builtIn) {
    performance.mark('mirweb-main');
    gamesFolder = folder;
    FS.mkdir(folder);
    const done = () => {
      performance.mark('mirweb-mounted');
      unpack(builtIn, folder);
      performance.mark('mirweb-unpacked');
      return Promise.resolve();
    };
    if (typeof indexedDB === 'undefined') return done();
    try {
      FS.mount(IDBFS, {}, folder);
    } catch (e) {
      return done();
    }
    if (!everStored()) {
      restoring = true;
      restoreMissing(folder, (error, found) => {
        if (error) console.warn('mirweb: saves are not restored:', error);
        restoring = false;
        if (found) {
          markStored();
          if (hooks().restored) hooks().restored();
        }
        if (persistWhenRestored) persist();
      });
      return done();
    }
    return new Promise((resolve) => {
      FS.syncfs(true, (error) => {
        if (error) console.warn('mirweb: saves are not restored:', error);
        persisted = signature(folder);
        resolve(done());
      });
    });
  }

  // Writes the games folder back to IndexedDB when it changed. A change made while a write is under
  // way is written after it; the page hears `persisted` once everything is stored.
  function persist() {
    if (!gamesFolder || FS.lookupPath(gamesFolder).node.mount.type !== IDBFS) return;
    if (restoring) {
      persistWhenRestored = true;
      return;
    }
    if (syncing) {
      syncAgain = true;
      return;
    }
    const now = signature(gamesFolder);
    if (now === persisted) return;
    syncing = true;
    FS.syncfs(false, (error) => {
      syncing = false;
      if (error) console.warn('mirweb: saves are not stored:', error);
      else {
        persisted = now;
        markStored();
      }
      const again = syncAgain && signature(gamesFolder) !== persisted;
      syncAgain = false;
      if (again) persist();
      else if (hooks().persisted) hooks().persisted(!error);
    });
  }

  function writeTree(folder, files) {
    // (No destructuring: the linker's JavaScript optimiser of this emscripten cannot read it.)
    for (const file of files) {
      const parts = file.path.split('/').filter((p) => p && p !== '.' && p !== '..');
      let at = folder;
      for (const dir of parts.slice(0, -1)) {
        at += '/' + dir;
        if (!FS.analyzePath(at).exists) FS.mkdir(at);
      }
      FS.writeFile(at + '/' + parts[parts.length - 1], file.data);
    }
  }

  const settingsFile = '.mirweb-settings.json';

  // --- files the page shows ------------------------------------------------------------------
  const urls = new Map();
  const types = { png: 'image/png', jpg: 'image/jpeg', jpeg: 'image/jpeg', gif: 'image/gif',
                  bmp: 'image/bmp', wav: 'audio/wav', mp3: 'audio/mpeg', ogg: 'audio/ogg',
                  mid: 'audio/midi' };

  // An address for a file of the in-memory file system, made once per version of the file.
  function fileUrl(path) {
    let st;
    try {
      st = FS.stat(path);
    } catch (e) {
      return null;
    }
    const key = path + '@' + st.mtime.getTime() + ':' + st.size;
    const known = urls.get(path);
    if (known && known.key === key) return known.url;
    if (known) URL.revokeObjectURL(known.url);
    const ext = path.slice(path.lastIndexOf('.') + 1).toLowerCase();
    const blob = new Blob([FS.readFile(path)], { type: types[ext] || 'application/octet-stream' });
    const url = URL.createObjectURL(blob);
    urls.set(path, { key, url });
    return url;
  }

  // --- audio ---------------------------------------------------------------------------------
  // Slot 0 is the music, 1 the sounds. Browsers refuse to start sound before the user's first
  // gesture; what was refused starts at the next key or click.
  const slots = [null, null];
  let waitingForGesture = new Set();
  function retryAfterGesture() {
    for (const a of waitingForGesture) a.play().catch(() => {});
    waitingForGesture.clear();
  }
  if (typeof window !== 'undefined') {
    window.addEventListener('keydown', retryAfterGesture, true);
    window.addEventListener('pointerdown', retryAfterGesture, true);
  }
  const audio = {
    release(slot) {
      const a = slots[slot];
      if (a) {
        a.pause();
        waitingForGesture.delete(a);
      }
      slots[slot] = null;
    },
    render(slot, path) {
      audio.release(slot);
      const url = fileUrl(path);
      if (!url) return false;
      slots[slot] = new Audio(url);
      return true;
    },
    holds: (slot) => !!slots[slot],
    seek(slot, seconds) {
      const a = slots[slot];
      if (!a) return false;
      a.currentTime = seconds;
      return true;
    },
    position: (slot) => (slots[slot] ? slots[slot].currentTime : NaN),
    duration(slot) {
      const d = slots[slot] ? slots[slot].duration : NaN;
      return Number.isFinite(d) ? d : NaN;
    },
    volume(slot, gain) {
      const a = slots[slot];
      if (!a) return false;
      a.volume = Math.max(0, Math.min(1, gain));
      return true;
    },
    play(slot) {
      const a = slots[slot];
      if (!a) return false;
      a.play().catch((e) => {
        if (e && e.name === 'NotAllowedError') waitingForGesture.add(a);
      });
      return true;
    },
  };

  // --- dialogs -------------------------------------------------------------------------------
  // The page's modal dialogs answer with a promise; without them the browser's own are used.
  function fallbackDialog(kind, text, detail) {
    if (kind === 'message' || kind === 'error') {
      window.alert(detail ? text + '\n' + detail : text);
      return '';
    }
    if (kind === 'input') return window.prompt(text, '') || '';
    return window.confirm(text) ? 'yes' : kind === 'yes-no-cancel' ? 'cancel' : 'no';
  }

  async function dialog(kind, text, detail) {
    const page = hooks();
    const answer = page.dialog ? await page.dialog(kind, text, detail) : fallbackDialog(kind, text, detail);
    return answer == null ? 0 : allocated(String(answer));
  }

  // Opening the database takes about as long as compiling the engine: it starts now, beside the
  // download, once this script has run (IDBFS is defined further down), and the mount finds it
  // open. The name is the games folder's, where main.cpp mounts it.
  if (typeof indexedDB !== 'undefined')
    Promise.resolve().then(() => {
      try {
        IDBFS.getDB('/games', () => {});
      } catch (e) {
        // The mount opens it, or reports why it cannot.
      }
    });

  return {
    // For the page:
    send,
    view: (json) => {
      if (!lastView) performance.mark('mirweb-first-view');
      lastView = JSON.parse(json);
      if (hooks().view) hooks().view(lastView);
    },
    lastView: () => lastView,
    fileUrl,
    // The player's own settings of the page, kept beside the saves (and so in IndexedDB) in a
    // hidden file of the games folder, which the game browser does not list.
    readSettings() {
      try {
        return JSON.parse(new TextDecoder().decode(FS.readFile(gamesFolder + '/' + settingsFile)));
      } catch (e) {
        return null;
      }
    },
    writeSettings(settings) {
      FS.writeFile(gamesFolder + '/' + settingsFile, JSON.stringify(settings));
      persist();
    },
    // Puts a game's files ({path, data: Uint8Array}, paths relative to the game's folder) into
    // the games folder under `name` and opens it.
    addGame(name, files) {
      const folder = gamesFolder + '/' + name.replace(/[\/\\]/g, '_');
      if (!FS.analyzePath(folder).exists) FS.mkdir(folder);
      writeTree(folder, files);
      send({ type: 'open', text: folder });
      return folder;
    },
    // The save files of a folder, newest first: [{name, time}], time in ms since 1970.
    saves(folder) {
      let names;
      try {
        names = FS.readdir(folder);
      } catch (e) {
        return [];
      }
      const found = [];
      for (const name of names) {
        if (!/\.sav$/i.test(name)) continue;
        const st = FS.stat(folder.replace(/\/$/, '') + '/' + name);
        if (FS.isFile(st.mode)) found.push({ name, time: st.mtime.getTime() });
      }
      return found.sort((a, b) => b.time - a.time);
    },
    // A file's bytes, or null when there is no such file.
    readFile(path) {
      const there = FS.analyzePath(path);
      return there.exists && FS.isFile(there.object.mode) ? FS.readFile(path) : null;
    },
    // Writes a file (a save the player uploaded); persist() then stores it.
    writeFile(path, data) {
      FS.writeFile(path, data);
    },
    // For the engine (the EM_JS functions of the C++ side):
    waitEvent,
    eventText(field) {
      const v = current ? current[field] : undefined;
      return v == null ? 0 : allocated(String(v));
    },
    eventNumber(field) {
      const v = current ? Number(current[field]) : 0;
      return Number.isFinite(v) ? v | 0 : 0;
    },
    dialog,
    mountGames,
    // (The page calls it too, after it wrote a file.)
    persist,
    audio,
    startTimer(ms) {
      if (timer) clearInterval(timer);
      timer = setInterval(() => {
        if (!queue.some((e) => e.type === 'tick')) send({ type: 'tick' });
      }, ms);
    },
    openUrl(url) {
      window.open(url, '_blank', 'noopener');
    },
    beep() {
      if (hooks().beep) hooks().beep();
    },
    ended(status) {
      if (timer) clearInterval(timer);
      if (hooks().ended) hooks().ended(status);
    },
  };
})();
