// The page's menu bar (linked with --js-library after dom.js): its menus
// and items, opened and run by the keyboard as a desktop menu bar is
// (F10, Alt, the arrow keys) and by the pointer. dom.h declares the
// functions the module calls.

var VorlithMenubarLibrary = {
  $VorlithMenubar: {
    // Alt pressed for something else (a click, the wheel, another window)
    // does not lead into the menu bar.
    forgetAlt: function() {
      VorlithPage.altAlone = false;
    },

    // Below the window: the way to the menu bar from the keyboard, for
    // everyone to read.
    addHint: function() {
      var page = VorlithPage;
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
      VorlithMenubar.closeMenus();
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
      VorlithMenubar.focusTitle(page.menus[0]);
    },

    leaveMenubar: function() {
      var page = VorlithPage;
      VorlithMenubar.closeMenus();
      var back = page.returnFocus && page.returnFocus.isConnected ? page.returnFocus
                                                                  : page.tabStops()[0];
      if (back) back.focus();
    },

    inMenubar: function() {
      return VorlithPage.menubar.contains(document.activeElement);
    },

    activate: function(item) {
      var page = VorlithPage;
      VorlithMenubar.leaveMenubar();
      page.run(Number(item.dataset.click), item.id);
    },

    // Keys on a menu title or a menu item, as a desktop menu bar takes them.
    menuKey: function(event) {
      var menus = VorlithPage.menus, target = event.target;
      var index = menus.findIndex(function(menu) {
        return menu.title === target || menu.list.contains(target);
      });
      if (index < 0) return;
      var key = VorlithPage.keyOf(event);
      var beside = function(step) { return menus[(index + step + menus.length) % menus.length]; };
      var bar = VorlithMenubar, menu = menus[index];
      if (key === 'ArrowRight' || key === 'ArrowLeft') {
        var other = beside(key === 'ArrowRight' ? 1 : -1);
        if (target === menu.title && menu.list.hidden) bar.focusTitle(other);
        else bar.openMenu(other, 'first');
      } else if (key === 'Tab') {
        bar.leaveMenubar();
      } else if (!(target === menu.title ? bar.titleKey(key, menu) : bar.itemKey(key, menu, target))) {
        return;
      }
      event.preventDefault();
      event.stopPropagation();
    },
    // The other keys on title `menu`; whether it took `key`.
    titleKey: function(key, menu) {
      var bar = VorlithMenubar, menus = VorlithPage.menus;
      if (key === 'ArrowDown' || key === 'ArrowUp') {
        bar.openMenu(menu, key === 'ArrowDown' ? 'first' : 'last');
      } else if (key === 'Home' || key === 'End') {
        bar.closeMenus();
        bar.focusTitle(menus[key === 'Home' ? 0 : menus.length - 1]);
      } else if (key === 'Enter' || key === ' ') {
        bar.openMenu(menu, 'first');
      } else if (key === 'Escape') {
        bar.leaveMenubar();
      } else {
        return false;
      }
      return true;
    },
    // The other keys on `item` of `menu`; whether it took `key`.
    itemKey: function(key, menu, item) {
      var bar = VorlithMenubar, items = Array.prototype.slice.call(menu.list.children);
      if (key === 'ArrowDown' || key === 'ArrowUp') {
        var step = key === 'ArrowDown' ? 1 : -1;
        items[(items.indexOf(item) + step + items.length) % items.length].focus();
      } else if (key === 'Home' || key === 'End') {
        items[key === 'Home' ? 0 : items.length - 1].focus();
      } else if (key === 'Enter' || key === ' ') {
        bar.activate(item);
      } else if (key === 'Escape') {
        bar.closeMenus();
        bar.focusTitle(menu);
      } else {
        return false;
      }
      return true;
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
      if (page.ended || VorlithDialogs.modalShown()) return;
      if (event.type === 'keydown') {
        page.altAlone = VorlithMenubar.altOnly(event) && !event.repeat;
        var key = page.keyOf(event);
        if (key === 'Escape' && VorlithMenubar.openMenuOf() && !VorlithMenubar.inMenubar()) VorlithMenubar.closeMenus();
        if (key !== 'F10' || event.shiftKey || event.ctrlKey || event.altKey) return;
      } else if (!VorlithMenubar.altOnly(event) || !page.altAlone) {
        return;
      }
      event.preventDefault();
      if (VorlithMenubar.inMenubar()) VorlithMenubar.leaveMenubar();
      else VorlithMenubar.enterMenubar();
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
        var open = VorlithMenubar.openMenuOf();
        if (event.pointerType === 'mouse' && open && open !== menu && event.target === menu.title) {
          VorlithMenubar.openMenu(menu, null);
        }
      } else if (event.target === menu.title) {
        if (!menu.list.hidden) {
          VorlithMenubar.leaveMenubar();
          return;
        }
        if (page.client.contains(document.activeElement)) page.returnFocus = document.activeElement;
        VorlithMenubar.openMenu(menu, null);
        VorlithMenubar.focusTitle(menu);
      } else if (event.target.getAttribute('role') === 'menuitem') {
        VorlithMenubar.activate(event.target);
      }
    },
  },

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
};
// Each part needs the page.
autoAddDeps(VorlithMenubarLibrary, '$VorlithPage');
mergeInto(LibraryManager.library, VorlithMenubarLibrary);
