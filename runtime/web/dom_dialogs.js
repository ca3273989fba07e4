// The page's dialogs (linked with --js-library after dom.js): the program's
// other forms, each a <dialog> built when the program first needs it, and
// the modal message box; a handler waits on either by Asyncify's sleep.
// dom.h declares the functions the module calls.

var VorlithDialogsLibrary = {
  $VorlithDialogs: {
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
      if (!dialog.placed) VorlithDialogs.placeDialog(dialog);
      var control = focus >= 0 ? page.control(form, focus) : null;
      if (control && control.type === 'radio' && !control.checked) {
        control = dialog.querySelector('input[name="' + control.name + '"]:checked') || control;
      }
      if (!control) return;
      control.focus();
      if (control.tagName === 'INPUT' && control.type === 'text') control.select();
    },

    // Centred on Form1 the first time it is shown, as on the desktop, and
    // kept within the screen; it stays there (a narrow screen: within it).
    placeDialog: function(dialog) {
      var win = VorlithPage.win.getBoundingClientRect(), own = dialog.getBoundingClientRect();
      var within = function(centre, size, room) {
        return Math.max(8, Math.min(room - size - 8, centre - size / 2)) + 'px';
      };
      dialog.style.setProperty('--form-left', within(win.left + win.width / 2, own.width, innerWidth));
      dialog.style.setProperty('--form-top', within(win.top + win.height / 2, own.height, innerHeight));
      dialog.placed = true;
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
    // Escape closes it as its close control does, modal or not.
    dialogKey: function(event) {
      var page = VorlithPage, dialog = event.currentTarget, key = page.keyOf(event);
      if (event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
      var pressed = null;
      if (key === 'Enter' && event.target.tagName !== 'BUTTON') {
        pressed = dialog.querySelector('.vorlith-default');
        if (pressed) pressed.click();
      } else if (key === 'Escape') {
        pressed = dialog;
        VorlithDialogs.cancelDialog(dialog);
      }
      if (pressed) {
        event.preventDefault();
        event.stopPropagation();
      }
    },
  },

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
    closer.addEventListener('click', function() { VorlithDialogs.cancelDialog(dialog); });
    bar.append(title, closer);
    var client = document.createElement('div');
    client.className = 'vorlith-client';
    client.style.setProperty('--client-width', width + 'px');
    client.style.setProperty('--client-height', height + 'px');
    dialog.append(bar, client);
    dialog.addEventListener('keydown', page.cycleTab);
    dialog.addEventListener('keydown', VorlithDialogs.dialogKey);
    dialog.addEventListener('cancel', function(event) {
      event.preventDefault();
      VorlithDialogs.cancelDialog(dialog);
    });
    page.root.appendChild(dialog);
    page.forms[form] = page.buildingForm = {element: dialog, controls: []};
    page.building = client;
  },

  // Modal: the handler waits while the form is shown; the form's own
  // handlers run meanwhile (call). Its hiding wakes the handler once the
  // call that hid it is back.
  vorlith_dom_show_dialog: function(form, modal, focus) {
    var page = VorlithPage;
    if (!modal) return VorlithDialogs.showDialog(form, false, focus);
    return Asyncify.handleSleep(function(wakeUp) {
      page.forms[form].element.wake = wakeUp;
      VorlithMenubar.closeMenus();
      VorlithDialogs.showDialog(form, true, focus);
    });
  },

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

  vorlith_dom_hide_dialog: function(form) {
    var page = VorlithPage, dialog = page.forms[form].element;
    VorlithDialogs.hideDialog(form);
    if (dialog.wake) page.wakes.push(dialog.wake);
    dialog.wake = null;
  },

  // On the whole page: the other forms and the print area stand outside the
  // window. The page prerendered at build time has no style of its root and
  // keeps the style sheet's own 60 px, the same.
  vorlith_dom_set_tab_stop: function(pixels) {
    var root = document.documentElement;
    if (root.style) root.style.setProperty('--vorlith-tab-stop', pixels + 'px');
  },

  // The text in the print area, which alone is printed (shell.html), under
  // the title as the document's name; the browser's print dialog then
  // prints it, or on a phone saves or shares it.
  vorlith_dom_print: function(title, text, bytes) {
    var area = document.querySelector('body > .vorlith-print');
    if (!area) {
      area = document.createElement('pre');
      area.className = 'vorlith-print';
      document.body.appendChild(area);
    }
    area.textContent = UTF8ToString(text, bytes);
    var name = document.title;
    document.title = UTF8ToString(title);
    window.print();
    document.title = name;
  },

  // The clipboard's own call where the page may use it; else the text
  // selected in a textarea out of sight and copied as a user's Ctrl+C, the
  // focus given back.
  vorlith_dom_copy_to_clipboard: function(text, bytes) {
    var copied = UTF8ToString(text, bytes);
    var byHand = function() {
      var focus = document.activeElement, area = document.createElement('textarea');
      area.value = copied;
      area.setAttribute('readonly', '');
      area.setAttribute('aria-hidden', 'true');
      area.style.position = 'fixed';
      area.style.left = '-10000px';
      document.body.appendChild(area);
      area.select();
      try { document.execCommand('copy'); } catch (error) { /* nothing copied */ }
      area.remove();
      if (focus) focus.focus();
    };
    if (navigator.clipboard && navigator.clipboard.writeText)
      navigator.clipboard.writeText(copied).catch(byHand);
    else
      byHand();
  },

  vorlith_dom_message_box: function(title, text, bytes, ok) {
    return Asyncify.handleSleep(function(wakeUp) {
      VorlithDialogs.message(UTF8ToString(title), UTF8ToString(text, bytes), UTF8ToString(ok), wakeUp);
    });
  },
};
// Each part needs the page.
autoAddDeps(VorlithDialogsLibrary, '$VorlithPage');
mergeInto(LibraryManager.library, VorlithDialogsLibrary);
