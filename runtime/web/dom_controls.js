// The controls of the page's forms (linked with --js-library after dom.js):
// each built from its row by its kind's name, its texts, the references to
// the texts that name and describe it, and the drawings' shapes. dom.h
// declares the functions the module calls.

var VorlithControlsLibrary = {
  $VorlithControls: {
    // An input box that holds `text`: for a number, the keyboard with digits
    // and the point, no word guessing.
    inputBox: function(box, text) {
      box.type = 'text';
      box.value = text;
      box.inputMode = 'decimal';
      box.autocomplete = 'off';
      box.setAttribute('autocapitalize', 'off');
      box.setAttribute('autocorrect', 'off');
      box.spellcheck = false;
    },

    // The controls of the other forms' kinds, made of `element` at their
    // place: an option button is a radio button in its label, grouped with
    // the options right before it (the first is chosen); a text view a
    // read-only text area that can be selected and copied; a drawing an
    // SVG picture with its text alternative beside it. Returns the control
    // itself.
    // An SVG element `tag` with `attributes`.
    svg: function(tag, attributes) {
      var element = document.createElementNS('http://www.w3.org/2000/svg', tag);
      Object.keys(attributes).forEach(function(a) { element.setAttribute(a, attributes[a]); });
      return element;
    },

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
  },

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
    var control = kind === 'drawing' ? VorlithControls.svg('svg', {}) : document.createElement(made[1]);
    var placed = control;  // the element at the control's place
    control.id = UTF8ToString(name);
    control.setAttribute('class', 'vorlith-' + kind);
    if (kind === 'option' || kind === 'textview' || kind === 'drawing') {
      control = VorlithControls.otherControl(control, kind, UTF8ToString(text), width, height, group !== 0);
      text = 0;
    }
    placed.style.setProperty('--left', left + 'px');
    placed.style.setProperty('--top', top + 'px');
    placed.style.setProperty('--width', width + 'px');
    placed.style.setProperty('--height', height + 'px');
    if (kind === 'input') {
      VorlithControls.inputBox(control, UTF8ToString(text));
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

  // A caption's or a result field's text, an input box's or a text view's.
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

  vorlith_dom_option_value: function(form, row) {
    return VorlithPage.control(form, row).checked ? 1 : 0;
  },

  // A drawing's shapes: each a rectangle filled by its phase, its text
  // centred in it line by line, or a line or a dot; what the drawing shows in words is its
  // description.
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

  vorlith_dom_add_shape: function(kind, left, top, width, height, fill, text, bytes) {
    var drawing = VorlithPage.drawing, svg = VorlithControls.svg;
    if (kind !== 0) {  // a line or a dot, in its colour (an attribute, as a fill is)
      var colour = fill ? UTF8ToString(fill) : '#000';
      drawing.appendChild(kind === 1 ? svg('line', {x1: left, y1: top, x2: left + width, y2: top + height, stroke: colour})
                                     : svg('circle', {cx: left, cy: top, r: width / 2, fill: colour}));
      return;
    }
    if (fill) {  // a presentation attribute: the page's style wins in forced colours
      drawing.appendChild(svg('rect', {x: left, y: top, width: width, height: height, fill: UTF8ToString(fill)}));
    }
    var lines = UTF8ToString(text, bytes).split('\n');
    var label = svg('text', {y: top + height / 2, 'text-anchor': 'middle', 'dominant-baseline': 'central'});
    lines.forEach(function(line, i) {
      var dy = (i === 0 ? -(lines.length - 1) * 0.6 : 1.2) + 'em';
      label.appendChild(svg('tspan', {x: left + width / 2, dy: dy})).textContent = line;
    });
    drawing.appendChild(label);
  },

  vorlith_dom_text_length: function(form, row) {
    return VorlithPage.control(form, row).value.length;
  },

  vorlith_dom_copy_text: function(form, row, out) {
    var value = VorlithPage.control(form, row).value;
    var at = out >> 1;
    for (var i = 0; i < value.length; ++i) HEAPU16[at + i] = value.charCodeAt(i);
  },
};
// Each part needs the page.
autoAddDeps(VorlithControlsLibrary, '$VorlithPage');
mergeInto(LibraryManager.library, VorlithControlsLibrary);
