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
    controls: {},       // the client area's controls by name
    menus: [],          // {title, list} per menu of the menu bar
    dialog: null,       // the message box, made on first use
    running: false,     // a handler runs, or waits on a message box
    ended: false,
    returnFocus: null,  // where the focus goes when the menu bar is left
    altAlone: false,    // Alt is down and no other key came since

    // Runs the program's handler numbered `click`: one at a time, never
    // after End. A handler that waits on a message box lets the page go
    // on; its promise settles when it ends.
    run: function(click) {
      var page = VorlithPage;
      if (click < 0 || page.running || page.ended) return;
      page.running = true;
      var done = ccall('vorlith_click', null, ['number'], [click], {async: true});
      if (Asyncify.currData) {
        done.then(function() { page.running = false; });
      } else {
        page.running = false;
      }
    },

    // The controls that the Tab key visits, in tab-index order.
    tabStops: function() {
      return Array.prototype.slice.call(VorlithPage.client.querySelectorAll('input, button'));
    },

    // Tab and Shift+Tab cycle through the client area's controls, as in
    // the desktop window.
    cycleTab: function(event) {
      if (event.key !== 'Tab' || event.altKey || event.ctrlKey || event.metaKey) return;
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

    // The window at its size where it fits, else scaled to the viewport's
    // width as a whole; the layout inside stays as it is.
    fit: function() {
      var page = VorlithPage;
      if (!page.win.isConnected) return;
      var width = page.win.offsetWidth;
      var scale = Math.min(1, document.documentElement.clientWidth / width);
      page.win.style.transform = scale < 1 ? 'scale(' + scale + ')' : '';
      page.root.style.height = scale < 1 ? page.win.offsetHeight * scale + 'px' : '';
      page.root.classList.toggle('vorlith-scaled', scale < 1);
    },

    // Menu bar: open, close, enter and leave.
    openMenu: function(menu, focusFirst) {
      var page = VorlithPage;
      page.closeMenus();
      menu.list.hidden = false;
      menu.title.setAttribute('aria-expanded', 'true');
      var items = menu.list.children;
      if (focusFirst && items.length > 0) items[0].focus();
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
      page.menus[0].title.focus();
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
      switch (event.key) {
        case 'ArrowRight':
        case 'ArrowLeft': {
          var other = beside(event.key === 'ArrowRight' ? 1 : -1);
          if (onTitle && menu.list.hidden) other.title.focus();
          else page.openMenu(other, true);
          break;
        }
        case 'ArrowDown':
        case 'ArrowUp':
          if (onTitle) {
            page.openMenu(menu, true);
          } else {
            var step = event.key === 'ArrowDown' ? 1 : -1;
            items[(items.indexOf(target) + step + items.length) % items.length].focus();
          }
          break;
        case 'Home':
        case 'End':
          if (!onTitle) items[event.key === 'Home' ? 0 : items.length - 1].focus();
          break;
        case 'Enter':
        case ' ':
          if (onTitle) page.openMenu(menu, true);
          else page.activate(target);
          break;
        case 'Escape':
          if (onTitle) {
            page.leaveMenubar();
          } else {
            page.closeMenus();
            menu.title.focus();
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

    // F10, or Alt pressed and released alone, enters the menu bar and
    // leaves it again, as on the desktop.
    globalKey: function(event) {
      var page = VorlithPage;
      if (page.ended || (page.dialog && page.dialog.open)) return;
      if (event.type === 'keydown') {
        page.altAlone = event.key === 'Alt' && !event.repeat;
        if (event.key === 'Escape' && page.openMenuOf() && !page.inMenubar()) page.closeMenus();
        if (event.key !== 'F10' || event.shiftKey || event.ctrlKey || event.altKey) return;
      } else if (event.key !== 'Alt' || !page.altAlone) {
        return;
      }
      event.preventDefault();
      if (page.inMenubar()) page.leaveMenubar();
      else page.enterMenubar();
    },

    // The menu bar's mouse: a click on a title opens its menu and takes the
    // keyboard there, or closes it again; moving the pointer to another title
    // while a menu is open opens that one; a click on an item runs it.
    menuMouse: function(event) {
      var page = VorlithPage;
      var menu = page.menus.find(function(m) {
        return m.title === event.target || m.list.contains(event.target);
      });
      if (!menu) return;
      if (event.type === 'mousedown') {
        event.preventDefault();
      } else if (event.type === 'mouseover') {
        var open = page.openMenuOf();
        if (open && open !== menu && event.target === menu.title) page.openMenu(menu, false);
      } else if (event.target === menu.title) {
        if (!menu.list.hidden) {
          page.leaveMenubar();
          return;
        }
        if (page.client.contains(document.activeElement)) page.returnFocus = document.activeElement;
        page.openMenu(menu, false);
        menu.title.focus();
      } else if (event.target.getAttribute('role') === 'menuitem') {
        page.activate(event.target);
      }
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
                           '<div class="vorlith-msgbox-buttons"><button type="button"></button></div>';
        dialog.querySelector('button').addEventListener('click', function() { dialog.close(); });
        document.body.appendChild(dialog);
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
    page.client = document.createElement('div');
    page.client.className = 'vorlith-client';
    page.client.style.width = width + 'px';
    page.client.style.height = height + 'px';
    page.win.append(page.menubar, page.client);
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
    menu.title.id = UTF8ToString(name);
    menu.title.className = 'vorlith-menu-title';
    menu.title.setAttribute('role', 'menuitem');
    menu.title.setAttribute('aria-haspopup', 'menu');
    menu.title.setAttribute('aria-expanded', 'false');
    menu.title.setAttribute('aria-controls', menu.title.id + '-items');
    menu.title.tabIndex = -1;
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
  vorlith_dom_add_control: function(name, kind, text, left, top, width, height, tooltip,
                                    quantity, click) {
    // By ControlRow::Kind: Caption, Result, Input, Button.
    var kinds = ['caption', 'result', 'input', 'button'];
    var tags = ['div', 'output', 'input', 'button'];
    var page = VorlithPage;
    var control = document.createElement(tags[kind]);
    control.id = UTF8ToString(name);
    control.className = 'vorlith-' + kinds[kind];
    control.style.left = left + 'px';
    control.style.top = top + 'px';
    control.style.width = width + 'px';
    control.style.height = height + 'px';
    if (kinds[kind] === 'input') {
      control.type = 'text';
      control.value = UTF8ToString(text);
      control.autocomplete = 'off';
      control.spellcheck = false;
    } else {
      if (kinds[kind] === 'button') control.type = 'button';
      control.textContent = UTF8ToString(text);
    }
    if (tooltip) control.title = UTF8ToString(tooltip);
    if (kinds[kind] === 'result') {
      // What a screen reader reads is the field's text; the quantity it
      // belongs to is its description, and a new value is announced.
      control.setAttribute('aria-live', 'polite');
      control.setAttribute('aria-atomic', 'true');
      if (quantity) {
        var described = document.createElement('span');
        described.id = control.id + '-quantity';
        described.hidden = true;
        described.textContent = UTF8ToString(quantity);
        page.client.appendChild(described);
        control.setAttribute('aria-describedby', described.id);
      }
    } else if (quantity) {
      control.setAttribute('aria-label', UTF8ToString(quantity));
    }
    if (click >= 0) control.addEventListener('click', function() { page.run(click); });
    page.client.appendChild(control);
    page.controls[control.id] = control;
  },

  vorlith_dom_show_form__deps: ['$VorlithPage'],
  vorlith_dom_show_form: function() {
    var page = VorlithPage;
    page.client.addEventListener('keydown', page.cycleTab);
    page.menubar.addEventListener('keydown', page.menuKey);
    ['mousedown', 'mouseover', 'click'].forEach(function(type) {
      page.menubar.addEventListener(type, page.menuMouse);
    });
    document.addEventListener('keydown', page.globalKey);
    document.addEventListener('keyup', page.globalKey);
    document.addEventListener('mousedown', function(event) {
      if (!page.menubar.contains(event.target)) page.closeMenus();
    });
    page.root.appendChild(page.win);
    page.fit();
    window.addEventListener('resize', page.fit);
    var first = page.tabStops()[0];
    if (first) first.focus();
  },

  vorlith_dom_text_length__deps: ['$VorlithPage'],
  vorlith_dom_text_length: function(name) {
    return VorlithPage.controls[UTF8ToString(name)].value.length;
  },

  vorlith_dom_copy_text__deps: ['$VorlithPage'],
  vorlith_dom_copy_text: function(name, out) {
    var value = VorlithPage.controls[UTF8ToString(name)].value;
    for (var i = 0; i < value.length; ++i) HEAPU16[(out >> 1) + i] = value.charCodeAt(i);
  },

  vorlith_dom_set_caption__deps: ['$VorlithPage'],
  vorlith_dom_set_caption: function(name, text, bytes) {
    VorlithPage.controls[UTF8ToString(name)].textContent = UTF8ToString(text, bytes);
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
    window.removeEventListener('resize', page.fit);
    page.root.style.height = '';
    var line = document.createElement('p');
    line.className = 'vorlith-ended';
    line.textContent = UTF8ToString(ended) + ' ';
    var again = document.createElement('button');
    again.type = 'button';
    again.textContent = UTF8ToString(restart);
    again.addEventListener('click', function() { location.reload(); });
    line.appendChild(again);
    page.root.appendChild(line);
    again.focus();
  },
});
