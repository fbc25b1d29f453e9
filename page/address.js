// SPDX-License-Identifier: MIT

// The page's address names what is shown, so that it can be bookmarked, reloaded or sent:
// "#search=harbour+boat", "#search=&from=March+1999&to=May+1%2C+2000", "#folder=..." and, for
// a picture open, "&picture=" its name (pictureKey), which a later run keeps. Opening a picture
// adds an entry to the history, moving between pictures replaces it, so Back closes the
// picture and returns to the search before; neither Back nor Forward leaves the archive.
var addressKeys = ["search", "from", "to", "folder", "picture"];

function addressOf(state)
{
  var parts = [];
  for (var k = 0; k < addressKeys.length; k++) {
    var value = state[addressKeys[k]];
    if (value != null) parts.push(addressKeys[k] + "=" + encodeURIComponent(value));
  }
  return parts.length ? "#" + parts.join("&") : "";
}

// The state an address names; an address of no search or picture gives {}.
function stateOf(hash)
{
  var state = {};
  var parts = String(hash).replace(/^#/, "").split("&");
  for (var p = 0; p < parts.length; p++) {
    var equals = parts[p].indexOf("=");
    if (equals < 0) continue;
    var key = parts[p].substring(0, equals);
    if (addressKeys.indexOf(key) < 0) continue;
    try {
      state[key] = decodeURIComponent(parts[p].substring(equals + 1).replace(/\+/g, " "));
    } catch (e) {}  // a hand-edited address with a stray "%": that part is left out
  }
  return state;
}

function isSearch(state)
{
  return state.search != null || state.folder != null;
}

// The same search without its picture.
function searchOf(state)
{
  var search = {};
  for (var k = 0; k < addressKeys.length - 1; k++)
    if (state[addressKeys[k]] != null) search[addressKeys[k]] = state[addressKeys[k]];
  return search;
}

// Where the reader is: `shownState` is what the page shows, `pushedPicture` whether the
// picture open was opened from its results here (so that closing it can go Back to them).
var shownState = {};
var pushedPicture = false;
var afterShown = null;

// Shows `state` and makes the address say so: "push" adds a history entry, "replace" takes
// the current one. `then` runs once it is shown. The history's own entries are used, not a
// navigation to the fragment, which would bring back earlier contents of the frames.
function go(state, how, then)
{
  var address = addressOf(state);
  afterShown = then || null;
  if (state.picture != null && shownState.picture == null && how == "push") pushedPicture = true;
  if (state.picture == null) pushedPicture = false;
  var url = location.href.replace(/#.*$/, "") + address;
  if (address != currentAddress()) {
    if (how == "replace") history.replaceState(null, "", url);
    else history.pushState(null, "", url);
  }
  showAddress();
}

function currentAddress()
{
  return location.hash == "#" ? "" : location.hash;
}

// Back, Forward or a typed address: shown unless it is shown already. A page the browser
// kept from an earlier visit comes back as it was left, and shows its address too.
function addressChanged(event)
{
  if (event && event.type == "pageshow" && !event.persisted) return;
  if (currentAddress() != addressOf(shownState)) showAddress();
}

function followAddresses()
{
  window.addEventListener("popstate", addressChanged);
  window.addEventListener("hashchange", addressChanged);
  window.addEventListener("pageshow", addressChanged);
}

// Leaves the picture for its results: Back when it was opened from them, else the results
// take its place in the history.
function closePicture(then)
{
  if (pushedPicture) {
    pushedPicture = false;
    afterShown = then || null;
    history.back();
  } else {
    go(searchOf(shownState), "replace", then);
  }
}

// The address has changed (the page's own move, Back, Forward or a typed address).
function showAddress()
{
  var state = stateOf(location.hash);
  if (state.picture == null) pushedPicture = false;
  shownState = state;
  var then = afterShown;
  afterShown = null;
  (phoneLayout ? showPhoneState : showFramesState)(state, then);
}

// A picture's name in the address: its thumbnail's name, and when records of one original
// share it, ":2", ":3"... for the second, third... in catalog order.
function pictureKey(pic)
{
  if (!cat.occurrences) countOccurrences();
  return pic.occurrence > 1 ? pic.thumb + ":" + pic.occurrence : pic.thumb;
}

// Numbers the records of each thumbnail in catalog order; once, when the page is idle or at
// the first picture opened.
function countOccurrences()
{
  var seen = Object.create(null);
  for (var n = 0; n < cat.count; n++) {
    var p = cat.pic[n];
    seen[p.thumb] = (seen[p.thumb] || 0) + 1;
    p.occurrence = seen[p.thumb];
  }
  cat.occurrences = true;
}

// The index in `list` of the picture named `key`; -1 when it is not there. `hint`, the index
// the page itself moved to, is looked at first: only an address from outside is looked for.
function placeOfThumb(list, key, hint)
{
  if (hint >= 0 && hint < list.count && pictureKey(list.item[hint].object) == key) return hint;
  for (var i = 0; i < list.count; i++) if (pictureKey(list.item[i].object) == key) return i;
  return -1;
}

var movedTo = -1;  // the result the page's own move shows

// The results of the state's search (a picture named alone opens among all pictures), found
// again only when the search changes: moving between its pictures does not search again. True
// when they are new.
var resultsAddress = null;

function takeResults(state)
{
  var address = addressOf(searchOf(state)) || "#";
  if (address == resultsAddress && results != null) return false;
  results = findPictures(isSearch(state) ? state : { search: "" });
  resultsAddress = address;
  return true;
}

function forgetResults()
{
  results = null;
  resultsAddress = null;
}
