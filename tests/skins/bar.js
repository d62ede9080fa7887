// Stands in for the bar inside the page: window.external answers the fifteen bridge methods and
// records every call in bar.calls; bar.capture/bar.loaded do what the bar does to a skin page.
// Runs before the page's own script (evaluateOnNewDocument), with the skin's data file as `data`.
(data, withBridge) => {
  const BOX = '<Select id="defaultLKCaptureListLarkspan" name="CaptureList" onchange="javascript:window.external.defaultLKCaptureListLarkspanUpdate();" multiple style="MIN-HEIGHT: 100px; WIDTH: 100%; HEIGHT: 100%"></Select>';
  const entries = [];
  let keys = 0;
  const parse = (text) => new DOMParser().parseFromString(text, 'text/xml');
  // The bar ignores a page function's failure; the test does not.
  const page = (name, ...args) => { try { window[name](...args); } catch (e) { bar.errors.push(`${name}: ${e.message}`); } };
  const box = () => document.getElementById('defaultLKCaptureListLarkspan');
  const insertBox = () => {
    const holder = document.getElementById('InsertCaptureList');
    if (!holder) return null;
    holder.innerHTML = BOX;
    return box();
  };
  const removeSelected = () => { for (let i = entries.length - 1; i >= 0; i--) if (entries[i].selected) entries.splice(i, 1); };
  // UpdateCapturedList(0): stale options go, the others follow the entries, then OnUpdateList.
  const update = () => {
    const select = box() || insertBox();
    if (select) {
      for (let i = 0; i < select.options.length;) {
        if (entries.some((e) => e.key === select.options[i].value)) i++; else select.remove(i);
      }
      entries.forEach((e, j) => {
        if (j >= select.options.length) select.add(new Option(e.name, e.key));
        const option = select.options[j];
        if (option.text !== e.name) option.text = e.name;
        if (e.selected) option.selected = true;
      });
    }
    page('OnUpdateList');
  };
  const entry = (i) => {
    if (!(i >= 0 && i < entries.length)) throw new Error('no entry ' + i);
    return entries[i];
  };
  const bridge = {
    ShowHelp() {}, SafeShutdown() {}, ShowOptions() {},
    ShowContextMenu() { return false; },
    ListItemHere() { removeSelected(); update(); },
    ListItemNew() { removeSelected(); update(); },
    ListItemRemove() { removeSelected(); update(); },
    ListItemSelect(i) { entry(i).selected = true; },
    ListItemUnSelect(i) { entry(i).selected = false; },
    ListItemPreview() { const e = entries.find((x) => x.selected); if (e) page('OnPreview', e.url); },
    getXMLList() {
      const doc = parse('<URLS/>');
      for (const e of entries) {
        const url = doc.createElement('URL');
        [['URLName', e.name], ['URLLocation', e.url], ['selected', String(e.selected)], ['visible', 'true']]
          .forEach(([k, v]) => url.setAttribute(k, v));
        doc.documentElement.appendChild(url);
      }
      return doc;
    },
    defaultLKCaptureListLarkspanUpdate() {
      const select = box();
      if (select) for (const o of select.options) entries.find((e) => e.key === o.value).selected = o.selected;
    },
    LoadXMLDATA(xx) {
      const doc = parse(bar.data);
      if (doc.querySelector('parsererror')) return false;
      xx.appendChild(doc.documentElement.cloneNode(true));
      return true;
    },
    SaveXMLDATA(xx) { bar.data = new XMLSerializer().serializeToString(xx.documentElement.cloneNode(true)); return true; },
    GetVersion() { return '1.0.0'; },
  };
  const bar = window.__bar = {
    calls: [], errors: [], data,
    // A pop-up captured and recorded: OnCapture, the list rebuilt, OnPreview.
    capture(url, name) {
      page('OnCapture');
      entries.push({ key: 'Key' + ++keys, url, name: name || url, selected: false });
      update();
      page('OnPreview', url);
    },
    // The list emptied, then n pop-ups captured: long addresses, some with a title.
    reset(n) {
      entries.length = 0;
      update();
      for (let i = 1; i <= n; i++) {
        if (i % 3) bar.capture(`http://ads${i}.example.com/offers/spring/landing-page.html?campaign=${i}`);
        else bar.capture(`http://shop${i}.example/`, `Spring offer ${i}: everything half price this week`);
      }
    },
    // The skin document completed: the box written afresh with one option per entry.
    loaded() {
      const select = insertBox();
      if (select) for (const e of entries) select.add(new Option(e.name, e.key));
    },
  };
  if (!withBridge) return;
  const recorded = {};
  for (const [name, method] of Object.entries(bridge)) {
    recorded[name] = (...args) => { bar.calls.push(name); return method(...args); };
  }
  Object.defineProperty(window, 'external', { value: recorded, configurable: true });
}
