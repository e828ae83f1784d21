// The page's controls for files on the player's disk, beside the engine's own game browser: a game
// opened from a .zip (read by zip.js), and saves downloaded as .sav files and loaded from them. The
// files go through the bridge (Module.mirweb) into the games folder; the engine then opens or loads
// them with its own checks and messages, as if the player had chosen them in its browser.
// Every failure ends in the page's dialog (mirweb.js), never only in the console.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const engine = () => window.Module && window.Module.mirweb;
  const dialog = (...args) => window.mirwebDialog(...args);

  // The running game's folder ("/games/demo/"), or '' before a game is opened.
  function gameFolder() {
    const view = engine() && engine().lastView();
    return (view && view.game_dir) || '';
  }

  // The file the player chose in a file input; the input is cleared, so that choosing the same
  // file again is a change again.
  function takeFile(input) {
    const file = input.files[0];
    input.value = '';
    return file;
  }

  function report(error, text) {
    if (error instanceof MirwebZip.ZipError) return dialog('error', error.message, error.detail);
    return dialog('error', text, String((error && error.message) || error));
  }

  // --- a game from a .zip --------------------------------------------------------------------
  $('browser-open-zip-file').addEventListener('change', async (e) => {
    const file = takeFile(e.target);
    if (!file || !engine()) return;
    try {
      const game = await MirwebZip.readZip(new Uint8Array(await file.arrayBuffer()), file.name);
      engine().addGame(game.name, game.files);
    } catch (error) {
      await report(error, 'Не удалось открыть архив.');
    }
  });

  // --- saves ---------------------------------------------------------------------------------
  const noGame = 'Сначала откройте игру: сохранения лежат в её папке.';
  const when = (ms) => new Date(ms).toLocaleString('ru-RU', { dateStyle: 'short', timeStyle: 'short' });

  function download(name, bytes) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    a.download = name;
    a.click();
    // The browser reads the address after the click returns.
    setTimeout(() => URL.revokeObjectURL(a.href), 60000);
  }

  $('save-download').addEventListener('click', async () => {
    try {
      const folder = gameFolder();
      if (!folder) return await dialog('message', noGame);
      const saves = engine().saves(folder);
      if (!saves.length) return await dialog('message', 'У этой игры нет сохранений.');
      const name = await dialog('choose', 'Какое сохранение скачать?', '',
        saves.map((s) => [`${s.name} (${when(s.time)})`, s.name]));
      if (!name) return;
      const bytes = engine().readFile(folder + name);
      if (!bytes) return await dialog('message', `Сохранения «${name}» больше нет.`);
      download(name, bytes);
    } catch (error) {
      await report(error, 'Не удалось скачать сохранение.');
    }
  });

  // A name from the player's disk as a plain file name of the game folder, ending in .sav: no
  // folders, and no leading dots (".." would be the parent; a dot file is hidden).
  function saveName(name) {
    const plain = name.split(/[\/\\]/).pop().replace(/[\u0000-\u001f]/g, '').trim().replace(/^\.+/, '').trim();
    if (!plain.replace(/\.sav$/i, '')) return 'сохранение.sav';
    return /\.sav$/i.test(plain) ? plain : plain + '.sav';
  }

  const maxSaveBytes = 16 * 1024 * 1024;
  const same = (a, b) => a.length === b.length && a.every((byte, i) => byte === b[i]);

  // Asked before the file dialog opens: without a game there is nowhere to put the save.
  $('save-upload').addEventListener('click', () => {
    if (!gameFolder()) dialog('message', noGame);
    else $('save-upload-file').click();
  });

  $('save-upload-file').addEventListener('change', async (e) => {
    const file = takeFile(e.target);
    if (!file) return;
    try {
      const folder = gameFolder();
      if (!folder) return await dialog('message', noGame);
      // A save is some tens of kilobytes; a file of many megabytes is not one.
      if (file.size > maxSaveBytes) return await dialog('error', 'Это не сохранение: файл слишком велик.', file.name);
      const name = saveName(file.name);
      const path = folder + name;
      const data = new Uint8Array(await file.arrayBuffer());
      const old = engine().readFile(path);
      if (old && !same(old, data) &&
          (await dialog('yes-no', `В папке игры уже есть другое сохранение «${name}». Заменить его?`, 'no')) !== 'yes')
        return;
      engine().writeFile(path, data);
      engine().persist();
      // The engine loads it as a save chosen in its browser, with its own checks and messages.
      engine().send({ type: 'load', text: path });
    } catch (error) {
      await report(error, 'Не удалось загрузить сохранение.');
    }
  });
})();
