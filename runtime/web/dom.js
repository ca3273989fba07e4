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
    forms: [],          // by form number: {element, controls by row}; Form1 first
    controls: {},       // the built forms' controls by name
    reading: null,      // what the live region is to read once this turn is done
    menus: [],          // {title, list} per menu of the menu bar
    dialog: null,       // the message box, made on first use
    ended: false,
    returnFocus: null,  // where the focus goes when the menu bar is left
    altAlone: false,    // Alt is down and no other key came since
    building: null,     // the client area whose controls are being added
    buildingForm: null, // and its form
    // Asyncify keeps the record of one waiting call into the module (a
    // handler on a message box or a modal form). A call that the page makes
    // meanwhile (a click on the modal form) sets it aside, and the waiting
    // one is woken only once that call is back: what it closed meanwhile.
    wakes: [],
    drawing: null,      // the drawing whose shapes are being added

    // Makes the call `into` the module for an event, never after End. A
    // handler that waits lets the page go on.
    call: function(into) {
      var page = VorlithPage;
      if (page.ended) return;
      var aside = {data: Asyncify.currData, handlers: Asyncify.asyncPromiseHandlers};
      Asyncify.currData = null;
      Asyncify.asyncPromiseHandlers = null;
      var back = function() {
        if (aside.data) {
          Asyncify.currData = aside.data;
          Asyncify.asyncPromiseHandlers = aside.handlers;
        }
        page.wakes.splice(0).forEach(function(wake) { wake(); });
      };
      try {
        into();
      } catch (error) {
        back();
        throw error;
      }
      if (Asyncify.currData) Asyncify.whenDone().then(back, back);
      else back();
    },
    run: function(click) {
      if (click >= 0) VorlithPage.call(function() { Module['_vorlith_click'](click); });
    },
    // Whether no call into the module waits.
    idle: function() {
      return !Asyncify.currData;
    },

    // Control `row` of form `form`.
    control: function(form, row) {
      return VorlithPage.forms[form].controls[row];
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

    // One announcement for the commands of a turn (clicks faster than the
    // page is drawn make one), the last reading the program gave.
    announceResults: function() {
      var page = VorlithPage, reading = page.reading;
      page.reading = null;
      if (page.ended || reading === null) return;
      if (reading) page.announce(reading);
      else page.live.replaceChildren();
    },
    // A new text node each time, so that the same results twice are
    // announced twice.
    announce: function(text) {
      VorlithPage.live.replaceChildren(document.createTextNode(text));
    },

    // The controls that the Tab key visits in Form1's client area or in
    // another form, in tab-index order: of a group of option buttons, the
    // chosen one.
    tabStops: function(container) {
      var stops = (container || VorlithPage.client).querySelectorAll('input, button, textarea');
      return Array.prototype.filter.call(stops, function(e) {
        return e.tabIndex >= 0 && !(e.type === 'radio' && !e.checked);
      });
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
    // the desktop window; in another form, through its own.
    cycleTab: function(event) {
      if (VorlithPage.keyOf(event) !== 'Tab' || event.altKey || event.ctrlKey || event.metaKey) return;
      var stops = VorlithPage.tabStops(event.currentTarget);
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
      if (page.ended || page.modalShown()) return;
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
    takeOver: function(focus) {
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
        var first = focus >= 0 ? page.control(0, focus) : null;
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

    // The program's other forms, each a <dialog> that joins the page when
    // the program first needs it; Form1 before it is as without them.
    // `focus`: the row that gets the focus, an input box's whole text
    // selected (typing replaces what the form kept), -1 none.
    showDialog: function(form, modal, focus) {
      var page = VorlithPage, dialog = page.forms[form].element;
      if (page.win.contains(document.activeElement)) dialog.returnFocus = document.activeElement;
      if (modal) dialog.showModal();
      else dialog.show();
      var control = focus >= 0 ? page.control(form, focus) : null;
      if (control && control.type === 'radio' && !control.checked) {
        control = dialog.querySelector('input[name="' + control.name + '"]:checked') || control;
      }
      if (!control) return;
      control.focus();
      if (control.tagName === 'INPUT' && control.type === 'text') control.select();
    },
    hideDialog: function(form) {
      var dialog = VorlithPage.forms[form].element;
      var back = dialog.returnFocus && dialog.returnFocus.isConnected ? dialog.returnFocus
                                                                      : VorlithPage.tabStops()[0];
      dialog.close();
      if (back) back.focus();
    },
    // The form's close control, and Escape: the program decides (its
    // cancel button's Click, or the form hidden).
    cancelDialog: function(dialog) {
      if (!dialog.open) return;
      var form = Number(dialog.dataset.form);
      VorlithPage.call(function() { Module['_vorlith_close_form'](form); });
    },
    // Whether a modal form or the message box is shown: the page behind
    // takes no keys.
    modalShown: function() {
      var page = VorlithPage;
      return (page.dialog && page.dialog.open) ||
             page.forms.some(function(f) { return f.element.wake; });
    },
    // Enter anywhere in a form but on a button presses its default button;
    // Escape presses its cancel button, modal or not.
    // The controls of the other forms' kinds, made of `element` at their
    // place: an option button is a radio button in its label, grouped with
    // the options right before it (the first is chosen); a text view a
    // read-only text area that can be selected and copied; a drawing an
    // SVG picture with its text alternative beside it. Returns the control
    // itself.
    otherControl: function(element, kind, text, width, height, group) {
      var page = VorlithPage;
      if (kind === 'option') {
        var option = document.createElement('input');
        option.type = 'radio';
        option.id = element.id;
        element.id = option.id + '-label';
        if (group) page.optionGroup = option.id;
        option.name = page.optionGroup;
        option.checked = group;
        element.append(option, document.createTextNode(text));
        return option;
      }
      if (kind === 'textview') {
        element.readOnly = true;
        element.value = text;
        element.spellcheck = false;
        return element;
      }
      element.setAttribute('role', 'img');
      element.setAttribute('viewBox', '0 0 ' + width + ' ' + height);
      element.setAttribute('width', width);
      element.setAttribute('height', height);
      var alternative = document.createElement('span');
      alternative.id = element.id + '-alternative';
      alternative.hidden = true;
      page.building.appendChild(alternative);
      return element;
    },

    dialogKey: function(event) {
      var page = VorlithPage, dialog = event.currentTarget, key = page.keyOf(event);
      if (event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
      var pressed = null;
      if (key === 'Enter' && event.target.tagName !== 'BUTTON') {
        pressed = dialog.querySelector('.vorlith-default');
        if (pressed) pressed.click();
      } else if (key === 'Escape') {
        pressed = dialog;
        page.cancelDialog(dialog);
      }
      if (pressed) {
        event.preventDefault();
        event.stopPropagation();
      }
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
    page.building = page.client;
    page.forms[0] = page.buildingForm = {element: page.win, controls: []};
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
    // The page's empty icon stood in until now (shell.html).
    var empty = document.head.querySelector('link[rel="icon"][href="data:,"]');
    if (empty) empty.remove();
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
  vorlith_dom_add_control: function(name, kindName, text, left, top, width, height, tooltip,
                                    click, group) {
    // Each ControlRow::Kind by its name: its class and its element.
    var kinds = {Caption: ['caption', 'label'], Result: ['result', 'output'],
                 Input: ['input', 'input'], Button: ['button', 'button'],
                 DefaultButton: ['button vorlith-default', 'button'],
                 CancelButton: ['button vorlith-cancel', 'button'],
                 Option: ['option', 'label'], TextView: ['textview', 'textarea'],
                 Drawing: ['drawing', 'svg']};
    var made = kinds[UTF8ToString(kindName)], kind = made[0];
    var page = VorlithPage;
    var control = kind === 'drawing' ? document.createElementNS('http://www.w3.org/2000/svg', 'svg')
                                     : document.createElement(made[1]);
    var placed = control;  // the element at the control's place
    control.id = UTF8ToString(name);
    control.setAttribute('class', 'vorlith-' + kind);
    if (kind === 'option' || kind === 'textview' || kind === 'drawing') {
      control = page.otherControl(control, kind, UTF8ToString(text), width, height, group !== 0);
      text = 0;
    }
    placed.style.setProperty('--left', left + 'px');
    placed.style.setProperty('--top', top + 'px');
    placed.style.setProperty('--width', width + 'px');
    placed.style.setProperty('--height', height + 'px');
    if (kind === 'input') {
      control.type = 'text';
      control.value = UTF8ToString(text);
      // A number: the keyboard with digits and the point, no word guessing.
      control.inputMode = 'decimal';
      control.autocomplete = 'off';
      control.setAttribute('autocapitalize', 'off');
      control.setAttribute('autocorrect', 'off');
      control.spellcheck = false;
    } else if (text) {
      if (control.tagName === 'BUTTON') control.type = 'button';
      control.textContent = UTF8ToString(text);
    }
    if (kind === 'result') control.setAttribute('aria-live', 'off');  // see announceResults
    if (tooltip) placed.title = UTF8ToString(tooltip);
    // An option runs its handler when it becomes the chosen one.
    var event = control.type === 'radio' ? 'change' : 'click';
    if (click >= 0) control.addEventListener(event, function() { page.run(click); });
    page.building.appendChild(placed);
    page.controls[control.id] = control;
    page.buildingForm.controls.push(control);
  },

  vorlith_dom_add_quantity__deps: ['$VorlithPage'],
  vorlith_dom_add_quantity: function(id, quantity) {
    var said = document.createElement('span');
    said.id = UTF8ToString(id);
    said.className = 'vorlith-quantity';
    said.hidden = true;  // shown by the touch layout
    said.textContent = UTF8ToString(quantity);
    VorlithPage.building.appendChild(said);
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
        if (id) f(page.building.querySelector('#' + CSS.escape(id)));
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

  vorlith_dom_begin_dialog__deps: ['$VorlithPage'],
  vorlith_dom_begin_dialog: function(form, name, caption, width, height, close) {
    var page = VorlithPage;
    var dialog = document.createElement('dialog');
    dialog.id = UTF8ToString(name);
    dialog.dataset.form = form;
    dialog.className = 'vorlith-form';
    dialog.setAttribute('aria-labelledby', dialog.id + '-caption');
    var bar = document.createElement('div');
    bar.className = 'vorlith-form-title';
    var title = document.createElement('span');
    title.id = dialog.id + '-caption';
    title.textContent = UTF8ToString(caption);
    // For the pointer: the keyboard has Escape and the form's own button,
    // and screen readers hear that button alone.
    var closer = document.createElement('button');
    closer.type = 'button';
    closer.className = 'vorlith-form-close';
    closer.tabIndex = -1;
    closer.title = UTF8ToString(close);
    closer.setAttribute('aria-hidden', 'true');
    closer.textContent = '\u00d7';
    closer.addEventListener('click', function() { page.cancelDialog(dialog); });
    bar.append(title, closer);
    var client = document.createElement('div');
    client.className = 'vorlith-client';
    client.style.setProperty('--client-width', width + 'px');
    client.style.setProperty('--client-height', height + 'px');
    dialog.append(bar, client);
    dialog.addEventListener('keydown', page.cycleTab);
    dialog.addEventListener('keydown', page.dialogKey);
    dialog.addEventListener('cancel', function(event) {
      event.preventDefault();
      page.cancelDialog(dialog);
    });
    page.root.appendChild(dialog);
    page.forms[form] = page.buildingForm = {element: dialog, controls: []};
    page.building = client;
  },

  // Modal: the handler waits while the form is shown; the form's own
  // handlers run meanwhile (call). Its hiding wakes the handler once the
  // call that hid it is back.
  vorlith_dom_show_dialog__deps: ['$VorlithPage'],
  vorlith_dom_show_dialog: function(form, modal, focus) {
    var page = VorlithPage;
    if (!modal) return page.showDialog(form, false, focus);
    return Asyncify.handleSleep(function(wakeUp) {
      page.forms[form].element.wake = wakeUp;
      page.closeMenus();
      page.showDialog(form, true, focus);
    });
  },

  vorlith_dom_raise_dialog__deps: ['$VorlithPage'],
  vorlith_dom_raise_dialog: function(form) {
    var page = VorlithPage, dialog = page.forms[form].element;
    if (dialog !== page.root.lastElementChild && !dialog.wake) {
      dialog.close();  // to the front: a dialog shown later covers one before it
      page.root.appendChild(dialog);
      dialog.show();
    }
    if (!dialog.contains(document.activeElement)) {
      var first = page.tabStops(dialog)[0];
      if (first) first.focus();
    }
  },

  vorlith_dom_hide_dialog__deps: ['$VorlithPage'],
  vorlith_dom_hide_dialog: function(form) {
    var page = VorlithPage, dialog = page.forms[form].element;
    page.hideDialog(form);
    if (dialog.wake) page.wakes.push(dialog.wake);
    dialog.wake = null;
  },

  // A caption's or a result field's text, an input box's or a text view's.
  vorlith_dom_set_text__deps: ['$VorlithPage'],
  vorlith_dom_set_text: function(form, row, text, bytes) {
    var page = VorlithPage, control = page.control(form, row);
    if (control.tagName === 'LABEL' || control.tagName === 'OUTPUT') {
      control.textContent = page.text(text, bytes);
      return;
    }
    var top = control.scrollTop, left = control.scrollLeft;
    control.value = UTF8ToString(text, bytes);
    // A text view written anew stays where it was read, its caret at the top.
    if (control.tagName === 'TEXTAREA') {
      control.setSelectionRange(0, 0);
      control.scrollTop = top;
      control.scrollLeft = left;
    }
  },

  vorlith_dom_option_value__deps: ['$VorlithPage'],
  vorlith_dom_option_value: function(form, row) {
    return VorlithPage.control(form, row).checked ? 1 : 0;
  },

  // A drawing's shapes: each a rectangle filled by its phase, its text
  // centred in it line by line; what the drawing shows in words is its
  // description.
  vorlith_dom_begin_drawing__deps: ['$VorlithPage'],
  vorlith_dom_begin_drawing: function(form, row, text, bytes) {
    var page = VorlithPage, drawing = page.control(form, row);
    var alternative = document.getElementById(drawing.id + '-alternative') ||
                      drawing.parentNode.querySelector('#' + CSS.escape(drawing.id + '-alternative'));
    alternative.textContent = UTF8ToString(text, bytes);
    var described = (drawing.getAttribute('aria-describedby') || '').split(' ').filter(function(id) {
      return id && id !== alternative.id;
    });
    drawing.setAttribute('aria-describedby', described.concat(alternative.id).join(' '));
    drawing.replaceChildren();
    page.drawing = drawing;
  },

  vorlith_dom_add_shape__deps: ['$VorlithPage'],
  vorlith_dom_add_shape: function(left, top, width, height, fill, text, bytes) {
    var svg = 'http://www.w3.org/2000/svg';
    if (fill) {  // a presentation attribute: the page's style wins in forced colours
      var rect = document.createElementNS(svg, 'rect');
      var place = {x: left, y: top, width: width, height: height, fill: UTF8ToString(fill)};
      Object.keys(place).forEach(function(a) { rect.setAttribute(a, place[a]); });
      VorlithPage.drawing.appendChild(rect);
    }
    var label = document.createElementNS(svg, 'text');
    var lines = UTF8ToString(text, bytes).split('\n');
    lines.forEach(function(line, i) {
      var span = document.createElementNS(svg, 'tspan');
      span.setAttribute('x', left + width / 2);
      span.setAttribute('dy', (i === 0 ? -(lines.length - 1) * 0.6 : 1.2) + 'em');
      span.textContent = line;
      label.appendChild(span);
    });
    label.setAttribute('y', top + height / 2);
    label.setAttribute('text-anchor', 'middle');
    label.setAttribute('dominant-baseline', 'central');
    VorlithPage.drawing.appendChild(label);
  },

  vorlith_dom_show_form__deps: ['$VorlithPage'],
  vorlith_dom_show_form: function(focus) {
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
    page.takeOver(focus);
    page.building = null;
    if (typeof ResizeObserver === 'function') new ResizeObserver(page.relaid).observe(page.win);
  },

  vorlith_dom_text_length__deps: ['$VorlithPage'],
  vorlith_dom_text_length: function(form, row) {
    return VorlithPage.control(form, row).value.length;
  },

  vorlith_dom_copy_text__deps: ['$VorlithPage'],
  vorlith_dom_copy_text: function(form, row, out) {
    var value = VorlithPage.control(form, row).value;
    var at = out >> 1;
    for (var i = 0; i < value.length; ++i) HEAPU16[at + i] = value.charCodeAt(i);
  },

  // Written once the clicks of this turn are done.
  vorlith_dom_announce__deps: ['$VorlithPage'],
  vorlith_dom_announce: function(text, bytes) {
    var page = VorlithPage;
    if (page.reading === null) setTimeout(page.announceResults, 0);
    page.reading = UTF8ToString(text, bytes);
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
    page.forms.forEach(function(form) { if (form.element !== page.win) form.element.remove(); });
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
