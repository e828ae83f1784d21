// The page of the web player (loaded before mirweb-core.js, which reads window.Module): it draws
// the view that the engine sends (Module.mirwebPage.view) and sends the engine the player's keys and
// clicks (Module.mirweb.send). It holds no game logic: src/frontends/web/README.md describes the
// bridge.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const input = $('input');
  const story = $('story'); // scrolls
  const storyText = $('story-text'); // holds the text, read out as it grows
  let view = null;
  let engine = null; // Module.mirweb, once the runtime is up
  let ended = false;

  // --- sending -------------------------------------------------------------------------------
  // Every event carries the input line's text: the line is the page's, the engine learns it here.
  // Kept for the page's speed test: how long the engine took to answer the last Enter.
  let sentAt = null;
  function send(event) {
    if (!engine || ended) return;
    event.input = input.value;
    if (event.type === 'enter') sentAt = performance.now();
    engine.send(event);
  }

  // The line's history, as a shell keeps it.
  const history = [];
  let historyAt = 0;
  let unsent = '';
  function walkHistory(step) {
    if (!history.length) return;
    if (historyAt === history.length) unsent = input.value;
    const at = Math.max(0, Math.min(history.length, historyAt + step));
    if (at === historyAt) return;
    historyAt = at;
    input.value = at === history.length ? unsent : history[at];
  }

  input.addEventListener('keydown', (e) => {
    if (e.isComposing) return;
    if (e.key === 'Enter') {
      e.preventDefault();
      const typed = input.value;
      if (typed.trim() && history[history.length - 1] !== typed) history.push(typed);
      historyAt = history.length;
      unsent = '';
      send({ type: 'enter' });
    } else if (e.key === 'ArrowUp' || e.key === 'ArrowDown') {
      e.preventDefault();
      walkHistory(e.key === 'ArrowUp' ? -1 : 1);
    } else if (e.key === 'Escape') {
      e.preventDefault();
      if (view && view.picture.visible) send({ type: 'picture-close' });
    } else if (/^[0-9]$/.test(e.key) && !input.value && answerShown(Number(e.key))) {
      // A digit in an empty line chooses that answer of the dialogue.
      e.preventDefault();
      send({ type: 'answer', index: Number(e.key) });
    } else if (e.key === 'PageUp' || e.key === 'PageDown') {
      e.preventDefault();
      story.scrollBy(0, (e.key === 'PageUp' ? -0.9 : 0.9) * story.clientHeight);
    }
  });

  function answerShown(index) {
    return !!view && view.buttons.some((b) => b.index === index);
  }

  // A modal dialog of the page (a message or question, or the view options) has the keyboard.
  const dialogOpen = () => $('dialog').open || $('view-options').open;

  function keepKeyboardInLine() {
    if (!dialogOpen() && $('game-menu').hidden && view && !view.browser.visible) input.focus();
  }

  $('picture-close').addEventListener('click', () => {
    send({ type: 'picture-close' });
    keepKeyboardInLine();
  });
  for (const b of document.querySelectorAll('#menu button[data-command]'))
    b.addEventListener('click', () => {
      closeMenu();
      send({ type: 'command', text: b.dataset.command });
      keepKeyboardInLine();
    });

  // The game menu: its button opens it with the keyboard on the first item; Up and Down walk the
  // items, Esc or Tab or a click elsewhere closes it, and the keyboard goes back where it was.
  const menuButton = $('game-menu-button');
  const menu = $('game-menu');
  const menuItems = () => [...menu.querySelectorAll('[role=menuitem]')];
  function openMenu() {
    menu.classList.remove('from-right');
    menu.hidden = false;
    // Near the window's right edge the menu opens leftwards, so that all of it is on the screen.
    if (menu.getBoundingClientRect().right > document.documentElement.clientWidth)
      menu.classList.add('from-right');
    menuButton.setAttribute('aria-expanded', 'true');
    menuItems()[0].focus();
  }
  function closeMenu(refocus) {
    if (menu.hidden) return;
    menu.hidden = true;
    menuButton.setAttribute('aria-expanded', 'false');
    if (refocus) keepKeyboardInLine();
  }
  menuButton.addEventListener('click', () => (menu.hidden ? openMenu() : closeMenu(true)));
  menu.addEventListener('click', (e) => {
    if (e.target.closest('[role=menuitem]')) closeMenu();
  });
  menu.addEventListener('keydown', (e) => {
    const items = menuItems();
    const at = items.indexOf(document.activeElement);
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      e.preventDefault();
      e.stopPropagation();
      const step = e.key === 'ArrowDown' ? 1 : items.length - 1;
      items[(at + step) % items.length].focus();
    } else if (e.key === 'Home' || e.key === 'End') {
      e.preventDefault();
      items[e.key === 'Home' ? 0 : items.length - 1].focus();
    } else if (e.key === 'Escape') {
      e.preventDefault();
      e.stopPropagation();
      closeMenu();
      menuButton.focus();
    } else if (e.key === 'Tab') {
      closeMenu();
    }
  });
  document.addEventListener('pointerdown', (e) => {
    if (!e.target.closest('.menu')) closeMenu();
  });
  $('browser-start').addEventListener('click', () => send({ type: 'start' }));
  $('browser-cancel').addEventListener('click', () => send({ type: 'cancel' }));
  $('browser-drives').addEventListener('change', (e) => send({ type: 'drive', text: e.target.value }));
  // The rules of the running game, or the program's help before a game is chosen.
  const help = () => send({ type: 'command', text: view && view.game ? 'ПОМОЩЬ' : 'СПРАВКА' });
  $('help-button').addEventListener('click', () => {
    help();
    keepKeyboardInLine();
  });
  // The desktop window's keys that a browser leaves to the page (Ctrl+N is the browser's own).
  document.addEventListener('keydown', (e) => {
    if (dialogOpen() || e.altKey || e.metaKey) return;
    const ctrl = e.ctrlKey && !e.shiftKey;
    const command = ctrl && e.code === 'KeyS' ? 'СОХРАНИТЬ ИГРУ' : ctrl && e.code === 'KeyO' ? 'ЗАГРУЗИТЬ ИГРУ' : null;
    if (command) {
      e.preventDefault();
      send({ type: 'command', text: command });
    } else if (e.key === 'F1' && !e.ctrlKey) {
      e.preventDefault();
      help();
    }
  });
  document.addEventListener('keydown', (e) => {
    if (e.key === 'Escape' && view && view.browser.visible && !dialogOpen()) send({ type: 'cancel' });
  });

  // The file pickers are labels that look like buttons: Enter or Space opens them, as a button does.
  document.addEventListener('keydown', (e) => {
    const label = e.target.closest && e.target.closest('.file-button');
    if (!label || (e.key !== 'Enter' && e.key !== ' ')) return;
    e.preventDefault();
    label.querySelector('input[type=file]').click();
  });

  // A folder from the player's disk: its files go into the games folder and the game starts.
  $('browser-open-folder').addEventListener('change', async (e) => {
    const chosen = Array.from(e.target.files);
    if (!chosen.length) return;
    // A folder far larger than any game (the whole disk chosen by mistake) is not read into the
    // page's memory: the same bounds as a game from a .zip.
    const limits = window.MirwebZip.limits;
    const bytes = chosen.reduce((sum, f) => sum + f.size, 0);
    if (chosen.length > limits.entries || bytes > limits.totalBytes) {
      e.target.value = '';
      await dialog('error', 'Папка не открыта: она слишком велика для игры.',
        `${chosen.length} файлов, ${Math.round(bytes / 1048576)} МБ`);
      return;
    }
    const top = chosen[0].webkitRelativePath.split('/')[0];
    const files = await Promise.all(chosen.map(async (f) => ({
      path: f.webkitRelativePath.split('/').slice(1).join('/'),
      data: new Uint8Array(await f.arrayBuffer()),
    })));
    e.target.value = '';
    engine.addGame(top, files);
  });

  // --- drawing -------------------------------------------------------------------------------
  const rgb = (c) => `rgb(${c[0]}, ${c[1]}, ${c[2]})`;
  const plain = (text) => text.replace(/\r\n?/g, '\n');

  function setText(el, text) {
    if (el.textContent !== text) el.textContent = text;
  }

  function button(caption, onClick) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = caption;
    b.addEventListener('click', onClick);
    return b;
  }

  // The story grows by appending, so that a screen reader reads only what is new; a replaced
  // story (a new game, a transition, a load) is drawn afresh.
  let shownStory = { generation: -1, dropped: 0, text: '' };
  function drawStory(v) {
    const text = plain(v.story);
    if (v.story_generation === shownStory.generation && v.story_dropped === shownStory.dropped &&
        text.startsWith(shownStory.text)) {
      if (text.length > shownStory.text.length)
        storyText.append(document.createTextNode(text.slice(shownStory.text.length)));
    } else {
      storyText.textContent = text;
    }
    shownStory = { generation: v.story_generation, dropped: v.story_dropped, text };
    story.hidden = !v.story_visible;
  }

  function drawStatus(v) {
    const cells = [['status-title', 'title'], ['status-location', 'location'],
                   ['status-character', 'character'], ['status-moves', 'moves']];
    for (const [id, key] of cells) {
      setText($(id), v.labels[key]);
      const cell = id === 'status-location' ? $(id).parentElement : $(id);
      cell.hidden = !v.labels_visible[key] || !v.labels[key].trim();
    }
    document.title = v.game ? `${v.game.trim()} — Миревал` : 'Миревал';
  }

  function drawAnswers(v) {
    const box = $('answers');
    const shown = v.buttons.slice().sort((a, b) => a.top - b.top);
    const key = JSON.stringify(shown.map((b) => [b.index, b.caption]));
    if (box.dataset.key !== key) {
      box.replaceChildren(...shown.map((b) => {
        const el = button(`${b.index}. ${b.caption}`, () => {
          send({ type: 'answer', index: b.index });
          keepKeyboardInLine();
        });
        el.dataset.index = b.index;
        return el;
      }));
      box.dataset.key = key;
    }
    box.hidden = shown.length === 0;
  }

  function drawWords(v) {
    for (let c = 0; c < 2; ++c) {
      const list = $(`words-${c}`);
      const key = JSON.stringify(v.words[c]);
      if (list.dataset.key !== key) {
        list.replaceChildren(...v.words[c].map((w, i) => {
          const li = document.createElement('li');
          li.append(button(w, () => {
            send({ type: 'word', column: c, index: i });
            keepKeyboardInLine();
          }));
          return li;
        }));
        list.dataset.key = key;
      }
      list.hidden = !v.words_visible[c];
    }
    $('words').hidden = !v.words_visible[0] && !v.words_visible[1];
  }

  function drawPicture(v) {
    const pane = $('picture-pane');
    const img = $('picture');
    const url = v.picture.file ? engine.fileUrl(v.picture.file) : null;
    if (url && img.getAttribute('src') !== url) img.src = url;
    const name = v.picture.file.split('/').pop();
    img.alt = name ? `Картинка: ${name}` : '';
    img.classList.toggle('stretch', v.picture.stretch);
    img.hidden = !v.picture_shown;
    $('picture-close').hidden = !v.picture_close.visible;
    pane.hidden = !(v.picture.visible && url);
  }

  // The picture's box: two fifths of the story area's width beside the story, or of its height
  // above it in a narrow window. A picture is drawn at up to twice its own size, keeping its
  // proportions, as large as the box allows; a stretched one fills the box.
  const narrow = window.matchMedia('(max-width: 720px)');
  function fitPicture(v) {
    const img = $('picture');
    const area = $('story-area');
    if (!v || $('picture-pane').hidden || area.hidden) return;
    const wide = !narrow.matches;
    const boxWidth = (wide ? 0.4 : 1) * area.clientWidth - 2;
    const boxHeight = (wide ? 1 : 0.4) * area.clientHeight - 8;
    const [w, h] = v.picture_size;
    let width = boxWidth;
    let height = boxHeight;
    if (!v.picture.stretch) {
      if (!w || !h) {
        img.style.width = img.style.height = '';
        return;
      }
      const scale = Math.max(0, Math.min(2, boxWidth / w, boxHeight / h));
      width = w * scale;
      height = h * scale;
    }
    img.style.width = `${Math.floor(Math.max(0, width))}px`;
    img.style.height = `${Math.floor(Math.max(0, height))}px`;
  }
  new ResizeObserver(() => fitPicture(view)).observe($('story-area'));

  // The story keeps its newest text in view when its pane changes size (a resized window, the
  // picture coming above it), unless the player has scrolled back to read. A scroll event may
  // come after the pane has shrunk again: only a move back up, never a smaller pane, means that
  // the player left the end.
  let storyAtEnd = true;
  let storyTop = 0;
  story.addEventListener('scroll', () => {
    if (story.scrollHeight - story.scrollTop - story.clientHeight < 4) storyAtEnd = true;
    else if (story.scrollTop < storyTop) storyAtEnd = false;
    storyTop = story.scrollTop;
  });
  new ResizeObserver(() => {
    if (storyAtEnd) story.scrollTop = story.scrollHeight;
  }).observe(story);

  function drawBrowser(v) {
    const b = v.browser;
    const opened = b.visible && $('browser').hidden;
    $('browser').hidden = !b.visible;
    $('story-area').hidden = b.visible;
    if (!b.visible) return;
    setText($('browser-caption'), b.caption);
    const drives = $('browser-drives');
    const driveKey = JSON.stringify(b.drives);
    if (drives.dataset.key !== driveKey) {
      drives.replaceChildren(...b.drives.map((d) => new Option(d, d)));
      drives.dataset.key = driveKey;
    }
    drives.value = b.drive;
    $('browser-folders').replaceChildren(...b.folders.map((f) => {
      const li = document.createElement('li');
      const el = button('\u00a0'.repeat(f.depth * 2) + f.name, () => send({ type: 'folder', text: f.path }));
      if (f.current) el.classList.add('current');
      li.append(el);
      return li;
    }));
    $('browser-files').replaceChildren(...b.files.map((name, i) => {
      const li = document.createElement('li');
      li.append(button(name, () => send({ type: 'file', index: i })));
      return li;
    }));
    for (const [id, control] of [['browser-start', b.start], ['browser-cancel', b.cancel]]) {
      setText($(id), control.caption.replace(/&/g, ''));
      $(id).hidden = !control.visible;
    }
    // The keyboard goes to the files (a game's main file, or the saves) when the browser opens.
    if (opened && !$('dialog').open) {
      const first = document.querySelector('#browser-files button, #browser-folders .current');
      if (first) first.focus();
    }
  }

  // Up and Down walk a list of the browser or a word column, as in the desktop's lists.
  document.addEventListener('keydown', (e) => {
    if (e.key !== 'ArrowUp' && e.key !== 'ArrowDown') return;
    const item = e.target.closest && e.target.closest('ul > li');
    if (!item) return;
    const next = e.key === 'ArrowUp' ? item.previousElementSibling : item.nextElementSibling;
    if (next) {
      e.preventDefault();
      next.querySelector('button').focus();
    }
  });

  // --- the player's view options (the desktop window's «Вид»), kept with the saves ----------
  const defaultOptions = { zoom: 1, readableMeasure: true, highContrast: false };
  let options = null;
  // High contrast, as the desktop window draws it: white on black, yellow button faces.
  const highContrast = { back: [0, 0, 0], text: [255, 255, 255], buttons: [255, 255, 0] };

  function applyOptions() {
    const root = document.documentElement.style;
    root.setProperty('--zoom', String(options.zoom));
    $('window').classList.toggle('full-width', !options.readableMeasure);
    if (view) applyColours(view);
  }

  function applyColours(v) {
    const colours = options && options.highContrast ? highContrast : v.colors;
    const root = document.documentElement.style;
    root.setProperty('--back', rgb(colours.back));
    root.setProperty('--text', rgb(colours.text));
    root.setProperty('--buttons', rgb(colours.buttons));
  }

  function loadOptions() {
    const stored = engine.readSettings();
    options = { ...defaultOptions };
    if (stored && typeof stored === 'object') {
      const zoom = Number(stored.zoom);
      if (Number.isFinite(zoom)) options.zoom = Math.min(3, Math.max(0.5, zoom));
      if (typeof stored.readableMeasure === 'boolean') options.readableMeasure = stored.readableMeasure;
      if (typeof stored.highContrast === 'boolean') options.highContrast = stored.highContrast;
    }
    applyOptions();
  }

  function changeOptions(change) {
    Object.assign(options, change);
    applyOptions();
    engine.writeSettings(options);
  }

  const zoomShown = (zoom) => `${Math.round(zoom * 100)} %`;
  $('view-button').addEventListener('click', () => {
    if (!options) return;
    $('view-zoom').value = String(Math.round(options.zoom * 100));
    $('view-zoom-shown').value = zoomShown(options.zoom);
    $('view-zoom').setAttribute('aria-valuetext', zoomShown(options.zoom));
    $('view-measure').checked = options.readableMeasure;
    $('view-contrast').checked = options.highContrast;
    $('view-options').showModal();
    $('view-zoom').focus();
  });
  $('view-zoom').addEventListener('input', (e) => {
    const zoom = Number(e.target.value) / 100;
    $('view-zoom-shown').value = zoomShown(zoom);
    e.target.setAttribute('aria-valuetext', zoomShown(zoom));
    changeOptions({ zoom });
  });
  $('view-measure').addEventListener('change', (e) => changeOptions({ readableMeasure: e.target.checked }));
  $('view-contrast').addEventListener('change', (e) => changeOptions({ highContrast: e.target.checked }));
  $('view-options').addEventListener('close', () => setTimeout(keepKeyboardInLine, 0));

  function draw(v) {
    if (!options) loadOptions();
    applyColours(v);
    drawStatus(v);
    drawStory(v);
    drawAnswers(v);
    drawWords(v);
    drawPicture(v);
    drawBrowser(v);
    if (input.value !== v.input) input.value = v.input;
    $('input-row').hidden = !v.input_visible;
    view = v;
    // What reads the layout comes after every change, so that the page is laid out once.
    fitPicture(v);
    story.scrollTop = story.scrollHeight;
    keepKeyboardInLine();
    if (shownStory.text && window.mirwebFirstText === undefined) {
      window.mirwebFirstText = performance.now();
      performance.mark('mirweb-first-text');
    }
    if (sentAt !== null) {
      window.mirwebAnswerMs = performance.now() - sentAt;
      sentAt = null;
    }
  }

  // --- dialogs -------------------------------------------------------------------------------
  // The engine waits for the answer: "yes", "no", "cancel", the typed text, or "" for a message.
  // The page's own "choose" offers `choices` ([caption, answer]) as a list and answers the chosen
  // one, or "" when cancelled.
  const dialogButtons = {
    choose: [['Отмена', '']],
    message: [['OK', '']],
    error: [['OK', '']],
    'yes-no': [['Да', 'yes'], ['Нет', 'no']],
    'yes-no-cancel': [['Да', 'yes'], ['Нет', 'no'], ['Отмена', 'cancel']],
    input: [['OK', 'ok'], ['Отмена', 'cancel']],
  };
  function dialog(kind, text, detail, choices = []) {
    const box = $('dialog');
    const field = $('dialog-input');
    setText($('dialog-text'), text);
    const shownDetail = kind === 'error' ? detail : '';
    setText($('dialog-detail'), shownDetail);
    $('dialog-detail').hidden = !shownDetail;
    field.hidden = kind !== 'input';
    field.value = '';
    const list = $('dialog-choices');
    list.hidden = kind !== 'choose';
    // Esc gives the answer that changes nothing.
    const onEscape = kind === 'yes-no-cancel' ? 'cancel' : kind === 'yes-no' ? 'no' : kind === 'input' ? 'cancel' : '';
    const preferred = kind.startsWith('yes-no') ? detail : dialogButtons[kind][0][1];
    return new Promise((resolve) => {
      const finish = (answer) => {
        box.close();
        resolve(kind === 'input' ? (answer === 'ok' ? field.value : '') : answer);
        setTimeout(keepKeyboardInLine, 0);
      };
      list.replaceChildren(...choices.map(([caption, answer]) => {
        const b = button(caption, (e) => {
          e.preventDefault();
          finish(answer);
        });
        b.dataset.answer = answer;
        const li = document.createElement('li');
        li.append(b);
        return li;
      }));
      $('dialog-buttons').replaceChildren(...dialogButtons[kind].map(([caption, answer]) => {
        const b = button(caption, (e) => {
          e.preventDefault();
          finish(answer);
        });
        b.dataset.answer = answer;
        return b;
      }));
      box.oncancel = (e) => {
        e.preventDefault();
        finish(onEscape);
      };
      field.onkeydown = (e) => {
        if (e.key === 'Enter') {
          e.preventDefault();
          finish('ok');
        }
      };
      box.showModal();
      if (kind === 'input') field.focus();
      else if (kind === 'choose' && choices.length) list.querySelector('button').focus();
      else box.querySelector(`[data-answer="${preferred}"]`).focus();
    });
  }
  // The page's other scripts (mirweb-files.js) speak to the player through it too.
  window.mirwebDialog = dialog;

  // --- start ---------------------------------------------------------------------------------
  const params = new URLSearchParams(location.search);
  window.Module = {
    // ?seed=N: random conditions repeat from run to run, as mirterm's --seed makes them.
    arguments: params.has('seed') ? ['--seed', params.get('seed')] : [],
    mirwebPage: {
      view: draw,
      dialog,
      // A first visit starts before the games folder is read from IndexedDB; if the browser kept
      // one after all, its view options arrive now.
      restored() {
        if (options) loadOptions();
      },
      // The games folder (and so the saves) went to IndexedDB.
      persisted(ok) {
        if (ok) window.mirwebStored = (window.mirwebStored || 0) + 1;
      },
      ended() {
        ended = true;
        setText(storyText, 'Игра окончена. Обновите страницу, чтобы начать снова.');
        input.disabled = true;
      },
    },
    onRuntimeInitialized() {
      engine = window.Module.mirweb;
      window.mirwebReady = performance.now();
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  };
})();
