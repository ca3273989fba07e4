// Writes the form into the linked page, so that the browser paints it before
// the module arrives: runs the page's own script (its module and dom*.js)
// under Node against a small stand-in for the DOM, takes the markup that
// dom*.js built of Form1's description, and puts it in the page's
// <div id="vorlith">. The module then takes that form over (dom.js,
// takeOver). Then writes the module in the script as text (asText). A
// build step, run by the build after each link:
//
//   node prerender.js PAGE.html [FORM1_ALONE.js]
//
// With FORM1_ALONE.js (the page's first part: Form1 alone, built as a
// loader of its own), also puts that in the page before the program's own
// script, its module written as text too: it answers 计算 while the rest
// of the page is on its way, then hands the form over (dom.js).
'use strict';
const fs = require('fs');
const vm = require('vm');

const VOID = new Set(['input', 'link', 'br']);
// The properties dom.js sets that stand for attributes.
const ATTRIBUTE = {id: 'id', className: 'class', tabIndex: 'tabindex', type: 'type', value: 'value',
                   inputMode: 'inputmode', autocomplete: 'autocomplete', spellcheck: 'spellcheck',
                   htmlFor: 'for', title: 'title', rel: 'rel', href: 'href', sizes: 'sizes'};

const escape = (text, quote) => {
  const html = String(text).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
  return quote ? html.replace(/"/g, '&quot;') : html;
};

class Element {
  constructor(tag) {
    this.tagName = tag.toUpperCase();
    this.attributes = new Map();
    this.children = [];  // elements, {text}, or {html}
    this.parent = null;
    const styles = [];
    this.style = {setProperty: (name, value) => {
      styles.push(`${name}: ${value};`);
      this.attributes.set('style', styles.join(' '));
    }};
    const self = this;
    this.dataset = new Proxy({}, {set(target, name, value) {
      self.setAttribute('data-' + name, value);
      return true;
    }});
    this.classList = {
      add: name => this.contains_class(name) || (this.className = (this.className + ' ' + name).trim()),
      contains: name => this.contains_class(name),
    };
    return new Proxy(this, {
      set(target, name, value) {
        if (name in ATTRIBUTE) target.setAttribute(ATTRIBUTE[name], value);
        else if (name === 'hidden') value ? target.setAttribute('hidden', '') : target.removeAttribute('hidden');
        else if (name === 'textContent') target.children = [{text: String(value)}];
        else if (name === 'innerHTML') target.children = [{html: String(value)}];
        else target[name] = value;
        return true;
      },
      get(target, name) {
        if (name in ATTRIBUTE) return target.attributes.get(ATTRIBUTE[name]) ?? '';
        if (name === 'hidden') return target.attributes.has('hidden');
        return target[name];
      },
    });
  }
  contains_class(name) { return (this.attributes.get('class') || '').split(' ').includes(name); }
  setAttribute(name, value) { this.attributes.set(name, String(value)); }
  getAttribute(name) { return this.attributes.get(name) ?? null; }
  removeAttribute(name) { this.attributes.delete(name); }
  addEventListener() {}
  focus() { document.activeElement = this; }
  append(...nodes) {
    for (const node of nodes) {
      if (typeof node === 'string') this.children.push({text: node});
      else this.children.push(node), node.parent = this;
    }
  }
  appendChild(node) { this.append(node); return node; }
  replaceChildren(...nodes) { this.children = []; this.append(...nodes); }
  elements() { return this.children.filter(c => c.tagName).flatMap(c => [c, ...c.elements()]); }
  contains(node) { return node === this || this.elements().includes(node); }
  // Only what dom.js asks for: '#id', or a list of tag names.
  querySelectorAll(selector) {
    if (selector.startsWith('#')) return this.elements().filter(e => '#' + e.id === selector);
    const tags = selector.split(',').map(s => s.trim().toUpperCase());
    return this.elements().filter(e => tags.includes(e.tagName));
  }
  querySelector(selector) { return this.querySelectorAll(selector)[0] || null; }
  get outerHTML() {
    const tag = this.tagName.toLowerCase();
    const attributes = [...this.attributes].map(([n, v]) => v === '' ? ` ${n}` : ` ${n}="${escape(v, true)}"`);
    if (document.activeElement === this) attributes.push(' autofocus');
    const inner = this.children.map(c => c.tagName ? c.outerHTML : c.html ?? escape(c.text)).join('');
    return `<${tag}${attributes.join('')}>` + (VOID.has(tag) ? '' : `${inner}</${tag}>`);
  }
}

const root = new Element('div');
const document = {
  activeElement: null, title: '', currentScript: null,
  documentElement: {lang: ''}, head: new Element('head'), body: new Element('body'),
  createElement: tag => new Element(tag),
  createElementNS: (namespace, tag) => new Element(tag),  // the other forms' drawings
  createTextNode: text => String(text),
  getElementById: id => id === 'vorlith' ? root : root.querySelector('#' + id),
  querySelector: () => null,
  addEventListener() {},
};
const media = {matches: false, addEventListener() {}};
const context = {
  document, Module: {}, console, fetch, setTimeout, clearTimeout, TextDecoder, WebAssembly,
  location: {href: 'file:///vorlith.html', protocol: 'file:'},
  CSS: {escape: id => id.replace(/[^\w-]/g, c => '\\' + c)},
  matchMedia: () => media, addEventListener() {},
  performance, URL, atob, btoa,
  // shell.html's, which the build has not run: what fails here fails the build.
  vorlithCannotRun: (reason, what) => { throw what; },
  vorlithPressed: null, vorlithHandOver: null,
};
context.window = context.self = context.globalThis = context;

const [page, form1Alone] = process.argv.slice(2);
let html = fs.readFileSync(page, 'utf8');
const script = [...html.matchAll(/<script>([\s\S]*?)<\/script>/g)].pop()[1];
const BEGIN = '<!-- the form, written by the build -->', END = '<!-- end of the form -->';
vm.createContext(context);
vm.runInContext(script, context);
const written = () => {
  if (root.children.length === 0) return setTimeout(written, 10);  // not shown yet
  const markup = BEGIN + root.children.map(c => c.outerHTML).join('') + END;
  const at = html.indexOf('<div id="vorlith">');
  if (at < 0) throw new Error(`${page}: no <div id="vorlith">`);
  html = html.replace(new RegExp(`${BEGIN}[\\s\\S]*?${END}`), '');
  const open = at + '<div id="vorlith">'.length;
  fs.writeFileSync(page, withForm1Alone(asText(html.slice(0, open) + markup + html.slice(open))));
};

const withForm1Alone = text => {
  if (!form1Alone) return text;
  const at = text.lastIndexOf('<script>');
  const first = asText(fs.readFileSync(form1Alone, 'utf8'));
  if (first.includes('</script')) throw new Error(`${form1Alone}: holds "</script"`);
  return text.slice(0, at) + `<script>${first}\nVorlithForm1Alone({vorlithLater: true});\n</script>\n` +
         text.slice(at);
};

// The module, which the link wrote into the script as base64, as a string of
// one character per byte instead: a fifth fewer bytes to download, gzipped.
// Escaped are only what a JavaScript string or an HTML script cannot hold
// as itself: the quote and backslash, line ends (which HTML also rewrites),
// NUL (which HTML turns into U+FFFD) and "<" (never a "</script>").
const BASE64 = /"data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)"/g;
const BYTES = 'vorlith-module:';  // shell.html's instantiateWasm reads what follows
const asText = text => {
  const found = [...text.matchAll(BASE64)];
  if (found.length !== 1) throw new Error(`${found.length} inline modules, not one`);
  const [{0: quoted, 1: base64, index}] = found;
  const bytes = Buffer.from(base64, 'base64');
  let literal = '';
  for (let i = 0; i < bytes.length; ++i) {
    const byte = bytes[i];
    if (byte === 0) literal += bytes[i + 1] >= 0x30 && bytes[i + 1] <= 0x39 ? '\\x00' : '\\0';
    else if ('"\\\n\r<'.includes(String.fromCharCode(byte))) literal += '\\x' + byte.toString(16).padStart(2, '0');
    else literal += String.fromCharCode(byte);
  }
  return text.slice(0, index) + `"${BYTES}${literal}"` + text.slice(index + quoted.length);
};
setTimeout(written, 0);
setTimeout(() => { throw new Error(`${page}: the program built no form`); }, 20000).unref();
