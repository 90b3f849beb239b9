// SPDX-License-Identifier: MIT
// pagloom menu script library. It is appended to the generated menu data (y_menarray,
// men_init and the y_* globals) and runs in the frameset page; the menu frame page calls
// parent.writemenu() while it loads. The menu is drawn with DOM calls into the menu frame,
// as flat lists of the classes pagloom_men / pagloom_umen; the current entry's link gets the
// id men_selected or umen_selected. Plain ES5 so that old and new browsers run it alike.

// One entry of the menu: its text (already HTML-escaped), its file and its level
// (0 main entry, 2 sub entry).
function y_menrecord(text, file, level) {
  this.text = text;
  this.file = file;
  this.level = level;
}

// Index of the current entry in y_menarray, -1 while the first page is shown. Kept in the
// frameset page so it survives reloads of the menu frame.
var y_current = -1;
var y_inited = false;
var y_content_hooked = false;

function y_records() {
  if (!y_inited) {
    men_init();
    y_inited = true;
  }
  return y_menarray;
}

// Index of the main entry a record belongs to (itself for a main entry), -1 for none.
function y_main_of(k) {
  var recs = y_records();
  for (var i = k; i >= 0; i--) {
    if (recs[i] && recs[i].level === 0) return i;
  }
  return -1;
}

function y_frame(nr, name) {
  var f = null;
  try {
    f = window.frames[nr];
  } catch (e) {
    f = null;
  }
  if (!f) {
    try {
      f = window.frames[name];
    } catch (e2) {
      f = null;
    }
  }
  return f || null;
}

function y_menu_document() {
  var f = y_frame(y_men_frame_nr, "links");
  try {
    return f ? f.document : null;
  } catch (e) {
    return null;
  }
}

// Absolute address of a menu file, resolved against the frameset page, without query or
// fragment, so it can be compared with the address the content frame shows.
function y_absolute(file) {
  var a = document.createElement("a");
  a.href = y_global_dir + file;
  return y_strip(a.href);
}

function y_strip(url) {
  var cut = url.search(/[?#]/);
  return cut < 0 ? url : url.substring(0, cut);
}

function y_link(doc, k, id) {
  var r = y_records()[k];
  var a = doc.createElement("a");
  a.setAttribute("href", y_global_dir + r.file);
  a.setAttribute("target", "rechts");
  if (id) a.setAttribute("id", id);
  // The generated data holds the text HTML-escaped, with tags kept when the project says so.
  a.innerHTML = r.text;
  a.onclick = function () {
    y_select(k);
    return true;
  };
  return a;
}

function y_list(doc, parent, cls) {
  var ul = doc.createElement("ul");
  ul.className = cls;
  parent.appendChild(ul);
  return ul;
}

// Fills the container with the menu: every main entry, and the sub entries of the current
// main entry right after it, in the same flat list order as the navigation include file.
function y_fill(doc, box) {
  while (box.firstChild) box.removeChild(box.firstChild);
  var recs = y_records();
  var curMain = y_current >= 0 ? y_main_of(y_current) : -1;
  var mainList = null;
  var subList = null;
  for (var k = 0; k < recs.length; k++) {
    var r = recs[k];
    if (!r) continue;
    var li = doc.createElement("li");
    if (r.level === 0) {
      if (!mainList) mainList = y_list(doc, box, "pagloom_men");
      subList = null;
      li.appendChild(y_link(doc, k, k === curMain ? "men_selected" : null));
      mainList.appendChild(li);
    } else {
      if (curMain < 0 || y_main_of(k) !== curMain) continue;
      if (!subList) {
        subList = y_list(doc, box, "pagloom_umen");
        mainList = null;
      }
      li.appendChild(y_link(doc, k, k === y_current ? "umen_selected" : null));
      subList.appendChild(li);
    }
  }
}

function y_redraw() {
  var doc = y_menu_document();
  if (!doc) return;
  var box = doc.getElementById("pagloom_menu");
  if (!box) return;
  var hadFocus = false;
  try {
    hadFocus = !!doc.activeElement && box.contains(doc.activeElement);
  } catch (e) {
    hadFocus = false;
  }
  y_fill(doc, box);
  if (hadFocus) {
    var sel = doc.getElementById("umen_selected") || doc.getElementById("men_selected");
    if (sel && sel.focus) sel.focus();
  }
}

// Makes entry k current. The redraw waits for the click to finish, so the link that was
// clicked still opens its page in the content frame.
function y_select(k) {
  if (k === y_current) return;
  y_current = k;
  window.setTimeout(y_redraw, 0);
}

// Keeps the menu in step with the content frame when a page is reached another way (a link
// inside a page, the back button). Frames that may not script each other are left alone.
function y_follow_content() {
  var f = y_frame(y_content_frame_nr, "rechts");
  if (!f) return;
  var here;
  try {
    here = y_strip(f.location.href);
  } catch (e) {
    return;
  }
  var recs = y_records();
  if (y_current >= 0 && recs[y_current] && y_absolute(recs[y_current].file) === here) return;
  for (var k = 0; k < recs.length; k++) {
    if (recs[k] && y_absolute(recs[k].file) === here && (recs[k].level === 0 || y_main_of(k) >= 0)) {
      y_select(k);
      return;
    }
  }
  if (y_absolute(y_firstinhalt_file) === here) y_select(-1);
}

function y_hook_content() {
  if (y_content_hooked) return;
  var f = y_frame(y_content_frame_nr, "rechts");
  var el = null;
  try {
    el = f ? f.frameElement : null;
  } catch (e) {
    el = null;
  }
  if (!el || !el.addEventListener) return;
  el.addEventListener("load", y_follow_content, false);
  y_content_hooked = true;
}

// Called by the menu frame page while it loads: draws the menu where the calling script
// stands (or at the end of the page when called later).
function writemenu() {
  var doc = y_menu_document();
  if (!doc) return;
  var box = doc.getElementById("pagloom_menu");
  if (!box) {
    box = doc.createElement("div");
    box.id = "pagloom_menu";
    var script = doc.currentScript;
    var parent = script && script.parentNode ? script.parentNode : doc.body || doc.documentElement;
    parent.insertBefore(box, script && script.parentNode === parent ? script.nextSibling : null);
  }
  y_fill(doc, box);
  y_hook_content();
}
