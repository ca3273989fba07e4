// The page's side of the web back end (linked with --js-library, with
// dom_menubar.js, dom_controls.js and dom_dialogs.js): the window in the
// DOM, the calls into the module for its events, what is announced, and
// End. The C++ side is web_form.cpp; dom.h declares the functions the
// module calls.

mergeInto(LibraryManager.library, {
  $VorlithPage__deps: ['$VorlithMenubar', '$VorlithDialogs', '$VorlithControls'],
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

    // A menu item without a handler belongs to the rest of the program,
    // which Form1 alone is waiting for: it is kept, and answered when that
    // has come (takeOver).
    run: function(click, id) {
      if (click >= 0) VorlithPage.call(function() { Module['_vorlith_click'](click); });
      else if (id && vorlithPressed) vorlithPressed.push(id);
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

    // Shows the form. The page may already show it, the same to the eye:
    // as the build wrote it (prerender.js), or run by Form1 alone. This one
    // takes its place in one step, with what was typed into it, the
    // results, and the focus, and then answers the presses that came before
    // (vorlithPressed, kept by the page and by Form1 alone).
    takeOver: function(focus) {
      var page = VorlithPage;
      var early = document.getElementById(page.win.id);
      if (early && early.parentNode !== page.root) early = null;
      var pressed = vorlithPressed || [];
      vorlithPressed = Module['vorlithLater'] ? [] : null;
      var active = document.activeElement;
      var kept = early && early.contains(active) ? active : null;
      if (early) {
        early.querySelectorAll('input, output').forEach(function(shown) {
          var control = page.controls[shown.id];
          if (!control) return;
          if (shown.tagName === 'INPUT') control.value = shown.value;
          else control.textContent = shown.textContent;
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
      // Once the program has started, which is after this returns; those
      // still unanswered when Form1 alone hands over go on (handOver).
      page.pending = pressed;
      setTimeout(function() {
        var pending = page.pending;
        page.pending = [];
        pending.forEach(function(id) {
          if (page.controls[id]) page.controls[id].click();
          else page.run(Number(document.getElementById(id).dataset.click));  // a menu item
        });
      }, 0);
    },

    // Listens to `type` on the document or the window, and takes the
    // listener off when Form1 alone hands the form over (handOver).
    listen: function(target, type, listener, options) {
      target.addEventListener(type, listener, options);
      VorlithPage.listeners.push(function() { target.removeEventListener(type, listener, options); });
    },
    listeners: [],
    pending: [],  // presses kept before it had the form, until answered

    // Form1 alone gives the form to the whole program (`show`) once no
    // handler of its own is running, and stops listening.
    handOver: function(show) {
      var page = VorlithPage;
      if (!page.idle()) return setTimeout(page.handOver, 50, show);
      page.listeners.forEach(function(unlisten) { unlisten(); });
      page.ended = true;
      vorlithPressed = page.pending.concat(vorlithPressed || []);
      page.pending = [];
      show();
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
    VorlithMenubar.addHint();
    // The live region, there before anything is announced so that screen
    // readers follow it.
    page.liveLine = document.createElement('p');
    page.liveLine.className = 'vorlith-live';
    page.live = document.createElement('span');
    page.live.id = 'vorlith-live';
    page.live.setAttribute('role', 'status');
    page.liveLine.appendChild(page.live);
  },

  vorlith_dom_add_icon: function(size, png, bytes) {
    // The page's empty icon stood in until now (shell.html), or Form1
    // alone's, the same.
    document.head.querySelectorAll('link[rel="icon"]').forEach(function(before) {
      if (before.getAttribute('href') === 'data:,' || before.getAttribute('sizes') === size + 'x' + size) {
        before.remove();
      }
    });
    var binary = '';
    for (var i = 0; i < bytes; ++i) binary += String.fromCharCode(HEAPU8[png + i]);
    var link = document.createElement('link');
    link.rel = 'icon';
    link.type = 'image/png';
    link.sizes = size + 'x' + size;
    link.href = 'data:image/png;base64,' + btoa(binary);
    document.head.appendChild(link);
  },

  vorlith_dom_show_form__deps: ['$VorlithPage'],
  vorlith_dom_show_form: function(focus) {
    var page = VorlithPage;
    var show = function() {
      page.client.addEventListener('keydown', page.cycleTab);
      page.menubar.addEventListener('keydown', VorlithMenubar.menuKey);
      ['mousedown', 'pointerover', 'click'].forEach(function(type) {
        page.menubar.addEventListener(type, VorlithMenubar.menuPointer);
      });
      page.listen(document, 'keydown', VorlithMenubar.globalKey);
      page.listen(document, 'keyup', VorlithMenubar.globalKey);
      page.listen(document, 'pointerdown', function(event) {
        VorlithMenubar.forgetAlt();
        if (!page.menubar.contains(event.target)) VorlithMenubar.closeMenus();
      }, true);
      page.listen(document, 'wheel', VorlithMenubar.forgetAlt, {capture: true, passive: true});
      page.listen(window, 'blur', VorlithMenubar.forgetAlt);
      page.takeOver(focus);
      page.building = null;
      if (typeof ResizeObserver === 'function') new ResizeObserver(page.relaid).observe(page.win);
      if (Module['vorlithLater']) vorlithHandOver = page.handOver;
    };
    if (Module['vorlithLater'] && vorlithPressed === null) return;  // the whole program came first
    var handOver = vorlithHandOver;
    vorlithHandOver = null;
    if (handOver) handOver(show);
    else show();
  },

  // Written once the clicks of this turn are done.
  vorlith_dom_announce__deps: ['$VorlithPage'],
  vorlith_dom_announce: function(text, bytes) {
    var page = VorlithPage;
    if (page.reading === null) setTimeout(page.announceResults, 0);
    page.reading = UTF8ToString(text, bytes);
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
