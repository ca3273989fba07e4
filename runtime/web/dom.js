// The page's side of the web back end (linked with --js-library): the form
// in the DOM, its clicks passed to the program, the menu bar's keyboard, the
// modal message box and End. The C++ side is web_form.cpp; dom.h declares
// these functions.

mergeInto(LibraryManager.library, {
  $VorlithPage: {
    root: null,         // the element that holds the window, then the end line
    win: null,          // the window: menu bar and client area in one frame
    menubar: null,
    client: null,
    hint: null,         // the line below the window that tells the way to the menu bar
    live: null,         // the one live region: the results after a command, then the end
    liveLine: null,     // the paragraph that holds it, out of sight until the end
    controls: {},       // the client area's controls by name
    byName: {},         // the same by the address of the name the program passes
    announcing: false,  // an announcement is on its way
    menus: [],          // {title, list} per menu of the menu bar
    dialog: null,       // the message box, made on first use
    running: false,     // a handler runs, or waits on a message box
    ended: false,
    returnFocus: null,  // where the focus goes when the menu bar is left
    altAlone: false,    // Alt is down and no other key came since

    // Runs the program's handler numbered `click`: one at a time, never
    // after End. A handler that waits on a message box lets the page go
    // on; its promise settles when it ends. Whichever way it ends, the page
    // takes the next click.
    run: function(click) {
      var page = VorlithPage;
      if (click < 0 || page.running || page.ended) return;
      page.running = true;
      var finish = function() {
        page.running = false;
        if (!page.announcing) {
          page.announcing = true;
          setTimeout(page.announceResults, 0);
        }
      };
      try {
        Module['_vorlith_click'](click);
      } catch (error) {
        page.running = false;
        throw error;
      }
      if (Asyncify.currData) {
        Asyncify.whenDone().then(finish, function() { page.running = false; });
      } else {
        finish();
      }
    },

    // The control named by the NUL-terminated name at `address`; the
    // program passes the same few names again and again.
    control: function(address) {
      var page = VorlithPage;
      var control = page.byName[address];
      if (!control) control = page.byName[address] = page.controls[UTF8ToString(address)];
      return control;
    },

    // The `bytes` bytes of UTF-8 at `address`: a short ASCII text (each
    // result) is read on the spot, anything else by UTF8ToString.
    text: function(address, bytes) {
      if (bytes > 32) return UTF8ToString(address, bytes);
      var text = '';
      for (var i = 0; i < bytes; ++i) {
        var byte = HEAPU8[address + i];
        if (byte >= 0x80) return UTF8ToString(address, bytes);
        text += String.fromCharCode(byte);
      }
      return text;
    },

    // One announcement for all the results that commands wrote since the
    // last (clicks faster than the page is drawn make one), as the program
    // reads them. A handler that waits on a message box announces when it
    // ends.
    announceResults: function() {
      var page = VorlithPage;
      page.announcing = false;
      if (page.ended || page.running) return;
      var reading = Module['_vorlith_take_reading']();
      if (reading) page.announce(UTF8ToString(reading));
    },
    // A new text node each time, so that the same results twice are
    // announced twice.
    announce: function(text) {
      VorlithPage.live.replaceChildren(document.createTextNode(text));
    },

    // The controls that the Tab key visits, in tab-index order.
    tabStops: function() {
      return Array.prototype.slice.call(VorlithPage.client.querySelectorAll('input, button'));
    },

    // The key of a keyboard event as `key` names it. WebKitGTK gives some
    // keys (Shift+Tab) the `key` "Unidentified": then `code`, the key's
    // place on the keyboard, tells which it is. For the keys the page
    // handles the two words are the same, but for these few.
    keyOf: function(event) {
      if (event.key && event.key !== 'Unidentified') return event.key;
      var named = {Space: ' ', NumpadEnter: 'Enter', AltLeft: 'Alt', AltRight: 'Alt'};
      return named[event.code] || event.code;
    },

    // Tab and Shift+Tab cycle through the client area's controls, as in
    // the desktop window.
    cycleTab: function(event) {
      if (VorlithPage.keyOf(event) !== 'Tab' || event.altKey || event.ctrlKey || event.metaKey) return;
      var stops = VorlithPage.tabStops();
      var at = stops.indexOf(document.activeElement);
      var next = null;
      if (!event.shiftKey && at === stops.length - 1) next = stops[0];
      if (event.shiftKey && at === 0) next = stops[stops.length - 1];
      if (next) {
        event.preventDefault();
        next.focus();
      }
    },

    // After the page is laid out anew (a phone turned, the browser zoomed),
    // the control with the focus stays in sight.
    relaid: function() {
      var focused = document.activeElement;
      if (focused && VorlithPage.win.contains(focused)) focused.scrollIntoView({block: 'nearest'});
    },

    // Alt pressed for something else (a click, the wheel, another window)
    // does not lead into the menu bar.
    forgetAlt: function() {
      VorlithPage.altAlone = false;
    },

    // Menu bar: open, close, enter and leave. One title at a time can be
    // reached with Tab (a roving tabindex); the arrow keys move between them.
    focusTitle: function(menu) {
      VorlithPage.menus.forEach(function(m) { m.title.tabIndex = m === menu ? 0 : -1; });
      menu.title.focus();
    },
    // `at`: 'first' or 'last' puts the focus on that item, else it stays.
    openMenu: function(menu, at) {
      var page = VorlithPage;
      page.closeMenus();
      menu.list.hidden = false;
      menu.title.setAttribute('aria-expanded', 'true');
      menu.title.tabIndex = 0;
      page.menus.forEach(function(m) { if (m !== menu) m.title.tabIndex = -1; });
      var items = menu.list.children;
      if (items.length === 0) return;
      if (at === 'first') items[0].focus();
      if (at === 'last') items[items.length - 1].focus();
    },
    closeMenus: function() {
      VorlithPage.menus.forEach(function(menu) {
        menu.list.hidden = true;
        menu.title.setAttribute('aria-expanded', 'false');
      });
    },
    openMenuOf: function() {
      return VorlithPage.menus.find(function(menu) { return !menu.list.hidden; }) || null;
    },
    enterMenubar: function() {
      var page = VorlithPage;
      if (page.menus.length === 0) return;
      if (page.client.contains(document.activeElement)) page.returnFocus = document.activeElement;
      page.focusTitle(page.menus[0]);
    },
    leaveMenubar: function() {
      var page = VorlithPage;
      page.closeMenus();
      var back = page.returnFocus && page.returnFocus.isConnected ? page.returnFocus
                                                                  : page.tabStops()[0];
      if (back) back.focus();
    },
    inMenubar: function() {
      return VorlithPage.menubar.contains(document.activeElement);
    },
    activate: function(item) {
      var page = VorlithPage;
      page.leaveMenubar();
      page.run(Number(item.dataset.click));
    },

    // Keys on a menu title or a menu item, as a desktop menu bar takes them.
    menuKey: function(event) {
      var page = VorlithPage;
      var target = event.target;
      var index = page.menus.findIndex(function(menu) {
        return menu.title === target || menu.list.contains(target);
      });
      if (index < 0) return;
      var menu = page.menus[index];
      var onTitle = target === menu.title;
      var count = page.menus.length;
      var beside = function(step) { return page.menus[(index + step + count) % count]; };
      var items = Array.prototype.slice.call(menu.list.children);
      var handled = true;
      var key = page.keyOf(event);
      switch (key) {
        case 'ArrowRight':
        case 'ArrowLeft': {
          var other = beside(key === 'ArrowRight' ? 1 : -1);
          if (onTitle && menu.list.hidden) page.focusTitle(other);
          else page.openMenu(other, 'first');
          break;
        }
        case 'ArrowDown':
        case 'ArrowUp':
          if (onTitle) {
            page.openMenu(menu, key === 'ArrowDown' ? 'first' : 'last');
          } else {
            var step = key === 'ArrowDown' ? 1 : -1;
            items[(items.indexOf(target) + step + items.length) % items.length].focus();
          }
          break;
        case 'Home':
        case 'End':
          if (onTitle) {
            page.closeMenus();
            page.focusTitle(page.menus[key === 'Home' ? 0 : count - 1]);
          } else {
            items[key === 'Home' ? 0 : items.length - 1].focus();
          }
          break;
        case 'Enter':
        case ' ':
          if (onTitle) page.openMenu(menu, 'first');
          else page.activate(target);
          break;
        case 'Escape':
          if (onTitle) {
            page.leaveMenubar();
          } else {
            page.closeMenus();
            page.focusTitle(menu);
          }
          break;
        case 'Tab':
          page.leaveMenubar();
          break;
        default:
          handled = false;
      }
      if (handled) {
        event.preventDefault();
        event.stopPropagation();
      }
    },

    // Whether `event` is Alt with no other modifier held: Shift+Alt and
    // Ctrl+Alt switch the keyboard layout on Windows, and AltGr comes as
    // Ctrl with Alt, or as a key of its own (AltGraph).
    altOnly: function(event) {
      return VorlithPage.keyOf(event) === 'Alt' && !event.shiftKey && !event.ctrlKey && !event.metaKey;
    },

    // F10, or Alt pressed and released alone, enters the menu bar and
    // leaves it again, as on the desktop.
    globalKey: function(event) {
      var page = VorlithPage;
      if (page.ended || (page.dialog && page.dialog.open)) return;
      if (event.type === 'keydown') {
        page.altAlone = page.altOnly(event) && !event.repeat;
        var key = page.keyOf(event);
        if (key === 'Escape' && page.openMenuOf() && !page.inMenubar()) page.closeMenus();
        if (key !== 'F10' || event.shiftKey || event.ctrlKey || event.altKey) return;
      } else if (!page.altOnly(event) || !page.altAlone) {
        return;
      }
      event.preventDefault();
      if (page.inMenubar()) page.leaveMenubar();
      else page.enterMenubar();
    },

    // The menu bar's pointer, mouse or touch: a click (a tap) on a title
    // opens its menu and takes the keyboard there, or closes it again;
    // moving the mouse to another title while a menu is open opens that one;
    // a click on an item runs it.
    menuPointer: function(event) {
      var page = VorlithPage;
      var menu = page.menus.find(function(m) {
        return m.title === event.target || m.list.contains(event.target);
      });
      if (!menu) return;
      if (event.type === 'mousedown') {
        event.preventDefault();
      } else if (event.type === 'pointerover') {
        var open = page.openMenuOf();
        if (event.pointerType === 'mouse' && open && open !== menu && event.target === menu.title) {
          page.openMenu(menu, null);
        }
      } else if (event.target === menu.title) {
        if (!menu.list.hidden) {
          page.leaveMenubar();
          return;
        }
        if (page.client.contains(document.activeElement)) page.returnFocus = document.activeElement;
        page.openMenu(menu, null);
        page.focusTitle(menu);
      } else if (event.target.getAttribute('role') === 'menuitem') {
        page.activate(event.target);
      }
    },

    // Shows the form. The page may already show it as the build wrote it
    // (prerender.js), the same to the eye: this one takes its place in one
    // step, with what was typed into it and the focus, and then answers
    // the presses of its buttons that came before (vorlithPressed, kept by
    // the page).
    takeOver: function() {
      var page = VorlithPage;
      var early = document.getElementById(page.win.id);
      if (early && early.parentNode !== page.root) early = null;
      var pressed = typeof vorlithPressed === 'object' && vorlithPressed ? vorlithPressed : [];
      if (typeof vorlithPressed === 'object') vorlithPressed = null;
      var active = document.activeElement;
      var kept = early && early.contains(active) ? active : null;
      if (early) {
        early.querySelectorAll('input').forEach(function(box) {
          if (page.controls[box.id]) page.controls[box.id].value = box.value;
        });
        page.root.replaceChildren(page.win, page.hint, page.liveLine);
      } else {
        page.root.append(page.win, page.hint, page.liveLine);
      }
      if (kept) {
        var now = document.getElementById(kept.id);
        now.focus();
        if (kept.tagName === 'INPUT') {
          now.setSelectionRange(kept.selectionStart, kept.selectionEnd, kept.selectionDirection);
        }
      } else if (!active || active === document.body) {
        var first = page.tabStops()[0];
        if (first) first.focus();
      }
      // Once the program has started, which is after this returns.
      setTimeout(function() { pressed.forEach(function(id) { page.controls[id].click(); }); }, 0);
    },

    message: function(title, text, ok, done) {
      var page = VorlithPage;
      if (!page.dialog) {
        var dialog = document.createElement('dialog');
        dialog.className = 'vorlith-msgbox';
        dialog.setAttribute('role', 'alertdialog');
        dialog.setAttribute('aria-labelledby', 'vorlith-msgbox-title');
        dialog.setAttribute('aria-describedby', 'vorlith-msgbox-text');
        dialog.innerHTML = '<div class="vorlith-msgbox-title" id="vorlith-msgbox-title"></div>' +
                           '<p class="vorlith-msgbox-text" id="vorlith-msgbox-text"></p>' +
                           '<div class="vorlith-msgbox-buttons">' +
                           '<button type="button" id="vorlith-msgbox-ok"></button></div>';
        dialog.querySelector('button').addEventListener('click', function() { dialog.close(); });
        page.root.appendChild(dialog);
        page.dialog = dialog;
      }
      var box = page.dialog;
      box.querySelector('.vorlith-msgbox-title').textContent = title;
      box.querySelector('.vorlith-msgbox-text').textContent = text;
      var button = box.querySelector('button');
      button.textContent = ok;
      box.addEventListener('close', function() { done(); }, {once: true});
      box.showModal();
      button.focus();
    },
  },

  vorlith_dom_begin_form__deps: ['$VorlithPage'],
  vorlith_dom_begin_form: function(name, title, lang, width, height) {
    var page = VorlithPage;
    document.title = UTF8ToString(title);
    document.documentElement.lang = UTF8ToString(lang);
    page.root = document.getElementById('vorlith') || document.body;
    page.win = document.createElement('div');
    page.win.id = UTF8ToString(name);
    page.win.className = 'vorlith-window';
    page.menubar = document.createElement('div');
    page.menubar.className = 'vorlith-menubar';
    page.menubar.setAttribute('role', 'menubar');
    page.menubar.setAttribute('aria-label', '菜单栏');
    page.client = document.createElement('div');
    page.client.className = 'vorlith-client';
    page.client.style.setProperty('--client-width', width + 'px');
    page.client.style.setProperty('--client-height', height + 'px');
    page.win.append(page.menubar, page.client);
    // Below the window: the way to the menu bar from the keyboard, for
    // everyone to read, and the live region, there before anything is
    // announced so that screen readers follow it.
    page.hint = document.createElement('p');
    page.hint.className = 'vorlith-hint';
    page.hint.id = 'vorlith-hint';
    page.hint.innerHTML = '按 <kbd>F10</kbd> 或 <kbd>Alt</kbd> 键进入菜单栏。';
    // It describes the menu bar only where it shows: the page's style hides
    // it on a touch screen with no mouse, touchpad or pen beside it.
    var coarse = window.matchMedia('(pointer: coarse)');
    var fine = window.matchMedia('(any-pointer: fine)');
    var describeMenubar = function() {
      if (coarse.matches && !fine.matches) page.menubar.removeAttribute('aria-describedby');
      else page.menubar.setAttribute('aria-describedby', page.hint.id);
    };
    describeMenubar();
    coarse.addEventListener('change', describeMenubar);
    fine.addEventListener('change', describeMenubar);
    page.liveLine = document.createElement('p');
    page.liveLine.className = 'vorlith-live';
    page.live = document.createElement('span');
    page.live.id = 'vorlith-live';
    page.live.setAttribute('role', 'status');
    page.liveLine.appendChild(page.live);
  },

  vorlith_dom_add_icon: function(size, png, bytes) {
    var binary = '';
    for (var i = 0; i < bytes; ++i) binary += String.fromCharCode(HEAPU8[png + i]);
    var link = document.createElement('link');
    link.rel = 'icon';
    link.type = 'image/png';
    link.sizes = size + 'x' + size;
    link.href = 'data:image/png;base64,' + btoa(binary);
    document.head.appendChild(link);
  },

  vorlith_dom_add_menu__deps: ['$VorlithPage'],
  vorlith_dom_add_menu: function(name, caption) {
    var page = VorlithPage;
    var menu = {title: document.createElement('div'), list: document.createElement('div')};
    var holder = document.createElement('div');
    holder.className = 'vorlith-menu';
    holder.setAttribute('role', 'none');
    menu.title.id = UTF8ToString(name);
    menu.title.className = 'vorlith-menu-title';
    menu.title.setAttribute('role', 'menuitem');
    menu.title.setAttribute('aria-haspopup', 'menu');
    menu.title.setAttribute('aria-expanded', 'false');
    menu.title.setAttribute('aria-controls', menu.title.id + '-items');
    menu.title.tabIndex = page.menus.length === 0 ? 0 : -1;
    menu.title.textContent = UTF8ToString(caption);
    menu.list.id = menu.title.id + '-items';
    menu.list.className = 'vorlith-menu-items';
    menu.list.setAttribute('role', 'menu');
    menu.list.setAttribute('aria-labelledby', menu.title.id);
    menu.list.hidden = true;
    holder.append(menu.title, menu.list);
    page.menubar.appendChild(holder);
    page.menus.push(menu);
  },

  vorlith_dom_add_menu_item__deps: ['$VorlithPage'],
  vorlith_dom_add_menu_item: function(name, caption, click) {
    var page = VorlithPage;
    var item = document.createElement('div');
    item.id = UTF8ToString(name);
    item.className = 'vorlith-menu-item';
    item.setAttribute('role', 'menuitem');
    item.tabIndex = -1;
    item.textContent = UTF8ToString(caption);
    item.dataset.click = click;
    page.menus[page.menus.length - 1].list.appendChild(item);
  },

  vorlith_dom_add_control__deps: ['$VorlithPage'],
  vorlith_dom_add_control: function(name, kind, text, left, top, width, height, tooltip, click) {
    // By ControlRow::Kind: Caption, Result, Input, Button.
    var kinds = ['caption', 'result', 'input', 'button'];
    var tags = ['label', 'output', 'input', 'button'];
    var page = VorlithPage;
    var control = document.createElement(tags[kind]);
    control.id = UTF8ToString(name);
    control.className = 'vorlith-' + kinds[kind];
    control.style.setProperty('--left', left + 'px');
    control.style.setProperty('--top', top + 'px');
    control.style.setProperty('--width', width + 'px');
    control.style.setProperty('--height', height + 'px');
    if (kinds[kind] === 'input') {
      control.type = 'text';
      control.value = UTF8ToString(text);
      // A number: the keyboard with digits and the point, no word guessing.
      control.inputMode = 'decimal';
      control.autocomplete = 'off';
      control.setAttribute('autocapitalize', 'off');
      control.setAttribute('autocorrect', 'off');
      control.spellcheck = false;
    } else {
      if (kinds[kind] === 'button') control.type = 'button';
      control.textContent = UTF8ToString(text);
    }
    if (kinds[kind] === 'result') control.setAttribute('aria-live', 'off');  // see announceResults
    if (tooltip) control.title = UTF8ToString(tooltip);
    if (click >= 0) control.addEventListener('click', function() { page.run(click); });
    page.client.appendChild(control);
    page.controls[control.id] = control;
  },

  vorlith_dom_add_quantity__deps: ['$VorlithPage'],
  vorlith_dom_add_quantity: function(id, quantity) {
    var said = document.createElement('span');
    said.id = UTF8ToString(id);
    said.className = 'vorlith-quantity';
    said.hidden = true;  // shown by the touch layout
    said.textContent = UTF8ToString(quantity);
    VorlithPage.client.appendChild(said);
  },

  // The references to the texts on screen that the program decided on.
  // What follows from them: a caption that names a box is its label (a
  // click on it puts the focus there); a quantity that a name says already
  // is not read again on its own; a caption that describes a control is
  // its unit, set beside it (or below a result field) where the controls
  // stand in one column.
  vorlith_dom_relate__deps: ['$VorlithPage'],
  vorlith_dom_relate: function(name, labelledBy, describedBy) {
    var page = VorlithPage;
    var control = page.controls[UTF8ToString(name)];
    var names = UTF8ToString(labelledBy), descriptions = UTF8ToString(describedBy);
    var each = function(ids, f) {
      ids.split(' ').forEach(function(id) {
        if (id) f(page.client.querySelector('#' + CSS.escape(id)));
      });
    };
    if (names) control.setAttribute('aria-labelledby', names);
    if (descriptions) control.setAttribute('aria-describedby', descriptions);
    each(names, function(text) {
      if (text.tagName === 'LABEL' && control.tagName === 'INPUT') text.htmlFor = control.id;
      if (text.classList.contains('vorlith-quantity')) text.setAttribute('aria-hidden', 'true');
    });
    each(descriptions, function(text) {
      if (text.tagName !== 'LABEL') return;
      text.classList.add('vorlith-unit');
      if (control.tagName === 'OUTPUT') text.classList.add('vorlith-range');
    });
  },

  vorlith_dom_show_form__deps: ['$VorlithPage'],
  vorlith_dom_show_form: function() {
    var page = VorlithPage;
    page.client.addEventListener('keydown', page.cycleTab);
    page.menubar.addEventListener('keydown', page.menuKey);
    ['mousedown', 'pointerover', 'click'].forEach(function(type) {
      page.menubar.addEventListener(type, page.menuPointer);
    });
    document.addEventListener('keydown', page.globalKey);
    document.addEventListener('keyup', page.globalKey);
    document.addEventListener('pointerdown', function(event) {
      page.forgetAlt();
      if (!page.menubar.contains(event.target)) page.closeMenus();
    }, true);
    document.addEventListener('wheel', page.forgetAlt, {capture: true, passive: true});
    window.addEventListener('blur', page.forgetAlt);
    page.takeOver();
    if (typeof ResizeObserver === 'function') new ResizeObserver(page.relaid).observe(page.win);
  },

  vorlith_dom_text_length__deps: ['$VorlithPage'],
  vorlith_dom_text_length: function(name) {
    return VorlithPage.control(name).value.length;
  },

  vorlith_dom_copy_text__deps: ['$VorlithPage'],
  vorlith_dom_copy_text: function(name, out) {
    var value = VorlithPage.control(name).value;
    var at = out >> 1;
    for (var i = 0; i < value.length; ++i) HEAPU16[at + i] = value.charCodeAt(i);
  },

  vorlith_dom_set_caption__deps: ['$VorlithPage'],
  vorlith_dom_set_caption: function(name, text, bytes) {
    var page = VorlithPage;
    page.control(name).textContent = page.text(text, bytes);
  },

  vorlith_dom_message_box__deps: ['$VorlithPage'],
  vorlith_dom_message_box: function(title, text, bytes, ok) {
    return Asyncify.handleSleep(function(wakeUp) {
      VorlithPage.message(UTF8ToString(title), UTF8ToString(text, bytes), UTF8ToString(ok), wakeUp);
    });
  },

  vorlith_dom_end__deps: ['$VorlithPage'],
  vorlith_dom_end: function(ended, restart) {
    var page = VorlithPage;
    page.ended = true;
    page.win.remove();
    page.hint.remove();
    // The line in the window's place is the live region's, which says it.
    page.liveLine.className = 'vorlith-ended';
    page.announce(UTF8ToString(ended));
    var again = document.createElement('button');
    again.type = 'button';
    again.textContent = UTF8ToString(restart);
    again.addEventListener('click', function() { location.reload(); });
    page.liveLine.append(' ', again);
    again.focus();
  },
});
