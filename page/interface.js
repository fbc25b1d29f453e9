// SPDX-License-Identifier: MIT

var pickedItem;
var pathflag = false;
var results = null;
var controlFrame;
var controlflag = true;
var blackflag = false;
var listing = null;  // the result list as written: layout and how many thumbnails so far

// Catalog text is shown as typed, never read as markup.
function htmlText(text)
{
  return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;")
    .replace(/>/g, "&gt;").replace(/"/g, "&quot;");
}

// The relative URL of an archive's image from its path ("Trip #2/_K7Q2M40.jpg"): each folder
// and file name percent-encoded, so that "#", "%", "?" and the like stay part of the name.
function imageUrl(path)
{
  var parts = String(path).split("/");
  for (var i = 0; i < parts.length; i++) parts[i] = encodeURIComponent(parts[i]);
  return parts.join("/");
}

// The start of every frame's document: its language and title, a focus that shows, and the
// page's keys wherever the focus is.
function frameStart(title, bodyAttributes, style)
{
  return "<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" + title + "</title><style>" +
    ":focus-visible{outline:2px solid #FF8C00;outline-offset:1px}" + (style || "") +
    "</style></head><body " + bodyAttributes + " onkeydown=\"return parent.pageKey(event)\">";
}

// What names a picture to those who cannot see it: its title, else its file's name.
function pictureName(pic)
{
  var name = pic.title != "" ? pic.title : pic.source != "" ? pic.source : pic.file;
  return htmlText(name);
}

// Writes a frame's document. A frame with nothing to focus is no stop for Tab.
function writeFrame(name, html)
{
  var doc = window.frames[name].document;
  doc.open();
  doc.write(html);
  doc.close();
  var frame = document.getElementsByName(name)[0];
  if (!frame) return;
  if (doc.querySelector("a[href], input, select, button")) frame.removeAttribute("tabindex");
  else frame.setAttribute("tabindex", "-1");
}

// The stored choices (in the control frame) and the visible panel (in the show frame).
function stored() { return window.frames["control"].document.cont; }
function panel() { return window.frames["show"].document.cont; }

function checkPlural(keywords)
{
  var n = keywords.count;
  for (var k = 0; k < n; k++) {
    var word = keywords.word[k];
    if (word.length <= 2 || word.charAt(word.length - 2) == "s") continue;
    var base = word.substring(0, word.length - 1);
    var last2 = base.substring(base.length - 2);
    if (base.charAt(base.length - 1) == "x" || last2 == "sh" || last2 == "ch")
      keywords.add(base + "es ");
    else
      keywords.add(base + "s ");
  }
  return keywords;
}

// The search a form's choices make (the panel's, or the phone's): its words, and the dates
// when a date list is chosen.
function searchOfForm(form)
{
  var state = { search: form.keywords.value };
  if (form.startdate.selectedIndex != 0 || form.enddate.selectedIndex != 0) {
    fillList(form.startdate);
    fillList(form.enddate);
    var start = form.startdate.selectedIndex || form.enddate.selectedIndex;
    var end = form.enddate.selectedIndex || start;
    state.from = form.startdate.options[start].text;
    state.to = form.startdate.options[end].text;
  }
  return state;
}

// The pictures a search finds (see addressOf for its parts): every picture for no words; a
// folder's; those dated within the range; else those with the words (and their plurals) in
// their texts, best first, and those of a folder named by the words.
function findPictures(state)
{
  results = null;
  var keywords = parseKeywords(state.search || "");
  if (state.folder != null) return cat.path.find(parseDate(state.folder));
  if (keywords.count == 0) {
    var all = new ResultList();
    for (var i = 0; i < cat.count; i++) all.add(cat.pic[i]);
    return all;
  }
  if (state.from == null && state.to == null) {
    results = cat.title.find(checkPlural(keywords));
    return cat.path.find(parseDate(state.search));
  }
  var from = myDate(state.from || state.to), to = myDate(state.to || state.from);
  if (from > to) { var t = from; from = to; to = t; }
  var found = new ResultList();
  for (var i = 0; i < cat.count; i++) {
    var key = myDate(cat.pic[i].picdate);
    if (key >= from && key <= to) found.add(cat.pic[i]);
  }
  return found;
}

// Searches with the panel's choices; `fromKeyboard` (Enter in the panel) puts the focus on
// the first picture found.
function doSearch(fromKeyboard)
{
  storeSetup();
  go(searchOfForm(panel()), "push", fromKeyboard ? function () { focusThumb(0, "nearest"); } : null);
}

// The picture view's own controls: full screen, where the browser has it, and the slideshow.
function viewControls()
{
  var full = document.fullscreenEnabled ?
    "<a href=\"#\" onClick=\"parent.toggleFullScreen();return false\">" +
    (document.fullscreenElement ? "Leave full screen" : "Full screen") + "</a><br>" : "";
  return full + "<a href=\"#\" id=\"slideshow\" onClick=\"parent.toggleSlideshow();return false\">" +
    (slideshow ? "Pause slideshow" : "Slideshow") + "</a><br>";
}

var navStyle = "a{color:#9CC8FF;text-decoration:none}a:hover{text-decoration:underline}";

function getPic()
{
  var pic = results.item[pickedItem].object;
  var columns = parseInt(stored().viewcols.value);
  var place = (pickedItem + 1) + " of " + results.count;
  if ((columns > 1 && results.count > 1) || blackflag) {
    var nav = frameStart("Previous and next", "background=\"texture2.jpg\" bgcolor=\"#000000\" text=\"#FFFFFF\"",
      navStyle) +
      "<a href=\"#\" onClick=\"parent.showPic(" + (pickedItem - 1) + ");return false\">Prev</a><br>" +
      "<a href=\"#\" onClick=\"parent.showPic(" + (pickedItem + 1) + ");return false\">Next</a><br>" +
      "<a href=\"#\" onClick=\"parent.backToResults();return false\">All</a><br><br>" + place +
      (blackflag ? "<br><br>" + viewControls() : "") + "</body></html>";
    writeFrame("film", nav);
  }
  say(place);
  var src = htmlText(imageUrl(nextfile(pic.thumb)));
  if (blackflag) {
    // As large as the frame allows, centred, the proportions kept.
    writeFrame("show", frameStart("Picture " + pic.num,
      "background=\"texture2.jpg\" bgcolor=\"#000000\" text=\"#FFFFFF\" style=\"margin:0\"") +
      "<div style=\"display:flex;align-items:center;justify-content:center;height:100vh\">" +
      (playerHtml(pic, "display:block;max-width:100vw;max-height:100vh") ||
      "<a href=\"#\" onClick=\"parent.showNormal();return false\"><img src=\"" + src + "\" border=0 alt=\"" + pictureName(pic) + "\" " +
      "style=\"display:block;max-width:100vw;max-height:100vh\"></a>") + "</div></body></html>");
    showDetail();
    return;
  }
  // Fitted beside its description, which stays in the window.
  var fitted = "max-width:calc(100vw - 280px);max-height:calc(100vh - 24px)";
  var player = playerHtml(pic, fitted);
  var image = player || "<a href=\"#\" onClick=\"parent.showBlack();return false\"><img src=\"" + src +
    "\" border=0 alt=\"" + pictureName(pic) + "\" style=\"" + fitted + "\"></a>";
  var fields = [pic.title, pic.subject, pic.category, pic.comment, pic.author, pic.picdate,
    pic.path, pic.source, pic.file];
  var details = "<b>" + pic.num + "</b><br>" + place + "<br>";
  for (var f = 0; f < fields.length; f++) details += htmlText(fields[f]) + "<br>";
  writeFrame("show", frameStart("Picture " + pic.num, "background=\"texture.jpg\" bgcolor=\"#F4F1EA\"",
    ".details th{text-align:left;padding-right:8px;font-weight:normal;color:#444}") +
    "<table border=0 cellpadding=4><tr>" +
    "<td valign=top>" + image + "</td>" +
    "<td valign=top style=\"min-width:200px;overflow-wrap:anywhere\">" + details + detailsHtml(pic) +
    "<p>" + viewControls() + "</p></td></tr></table></body></html>");
  showDetail();
}

// The slideshow walks through the results, a picture every few seconds, until it is paused
// (Space, or its control) or the picture view is left.
var slideshow = null;
var slideSeconds = 4;

// Starts `step` every few seconds, or stops it when it runs; true when it runs.
function runSlideshow(step)
{
  if (slideshow) stopSlideshow();
  else slideshow = setInterval(step, slideSeconds * 1000);
  return slideshow != null;
}

function toggleSlideshow()
{
  runSlideshow(function () { showPic(pickedItem + 1); });
  var control = window.frames["show"].document.getElementById("slideshow") ||
    window.frames["film"].document.getElementById("slideshow");
  if (control) control.textContent = slideshow ? "Pause slideshow" : "Slideshow";
  say(slideshow ? "Slideshow playing" : "Slideshow paused");
}

function stopSlideshow()
{
  if (slideshow) clearInterval(slideshow);
  slideshow = null;
}

// Full screen shows the picture alone on black; leaving full screen (Escape) returns to the
// picture beside its texts.
function toggleFullScreen()
{
  if (document.fullscreenElement) {
    document.exitFullscreen();
    return;
  }
  document.documentElement.requestFullscreen().then(function () {
    blackflag = true;
    renderPic(pickedItem);
  }, function () {});
}

function fullScreenChanged()
{
  if (!document.fullscreenElement && blackflag && detailShown) showNormal();
}

// Tells screen readers what a move has shown, through the live region of the Start frame.
function say(text)
{
  var region = window.frames["control"] && window.frames["control"].document.getElementById("said");
  if (region) region.textContent = text;
}

// The detail is in the show frame: its keys are the detail's, and the focus is on the picture.
function showDetail()
{
  detailShown = true;
  focusIn("show", window.frames["show"].document.querySelector("a"), "nearest");
}

function focusIn(name, element, block)
{
  if (!element) return false;
  window.frames[name].focus();
  element.focus();
  element.scrollIntoView({ block: block });
  return true;
}

// The page's keys, from whichever frame has the focus. In a picture's detail: Left or Page Up
// and Right or Page Down for the previous and next picture, Home and End for the first and
// last, Escape back to the results with that picture in view. Over the thumbnails the arrow
// keys move the focus and Enter opens. Keys typed into the panel's fields are the fields'.
var detailShown = false;

function pageKey(event)
{
  var target = event.target;
  if (event.altKey || event.ctrlKey || event.metaKey || results == null) return true;
  if (target && /^(INPUT|SELECT|TEXTAREA)$/.test(target.tagName)) return true;
  var key = event.key;
  if (detailShown) {
    var to = key == "ArrowLeft" || key == "PageUp" ? pickedItem - 1 :
      key == "ArrowRight" || key == "PageDown" ? pickedItem + 1 :
      key == "Home" ? 0 : key == "End" ? results.count - 1 : null;
    if (to != null) {
      showPic(to);
      return false;
    }
    if (key == "Escape") {
      backToResults();
      return false;
    }
    if (key == " ") {
      toggleSlideshow();
      return false;
    }
  }
  if (listing == null || !/^Arrow/.test(key)) return true;
  var from = target && target.getAttribute ? target.getAttribute("data-n") : null;
  if (from == null) return !focusThumb(0, "nearest");
  var across = listing.columns < 2 ? 1 : listing.columns;
  var step = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: -across, ArrowDown: across }[key];
  focusThumb(parseInt(from) + step, "nearest");
  return false;
}

// Focuses the thumbnail of result n, adding batches until it is written; false when there is
// no such thumbnail on screen.
function focusThumb(n, block)
{
  if (listing == null || results == null || n < 0 || n >= results.count) return false;
  while (listing.shown <= n && showMore()) {}
  var name = listing.columns < 2 ? "film" : "show";
  return focusIn(name, window.frames[name].document.querySelector("a[data-n=\"" + n + "\"]"), block);
}

function backToResults()
{
  var picked = pickedItem;
  stopSlideshow();
  closePicture(function () { focusThumb(picked, "center"); });
}

// Opens result i (the first after the last and the last before the first): a new history
// entry from the results, the current one's place from another picture.
function showPic(i)
{
  if (results == null || results.count == 0) {
    showControl();
    writeFrame("film", blankFrame);
    return;
  }
  if (i < 0) i = results.count - 1;
  if (i >= results.count) i = 0;
  var state = searchOf(shownState);
  state.picture = pictureKey(results.item[i].object);
  movedTo = i;
  go(state, detailShown ? "replace" : "push");
}

function renderPic(i)
{
  pickedItem = i;
  setTimeout(getPic, 50);
  if (controlflag) getControl();
}

// The search of an address, kept where the panel reads its choices, so that the panel shows
// the search that was made.
function keepSearch(state)
{
  var keep = stored();
  var text = state.folder != null ? state.folder : state.search || "";
  if (keep.keywords.value != text) {  // a search of another address: the word picked is not its
    keep.keywords.value = text;
    keep.title.value = 0;
  }
  keep.startdate.value = dateIndex(state.from != null ? state.from : null);
  keep.enddate.value = dateIndex(state.to != null ? state.to : null);
  pathflag = state.folder != null;
  controlflag = true;
}

function dateIndex(text)
{
  if (text == null) return 0;
  var at = cat.picdate.words.indexOf(text);
  return at < 0 ? 0 : at + 1;
}

function showFramesState(state, then)
{
  var picked = detailShown && results != null ? pickedItem : -1;
  if (state.picture == null) stopSlideshow();
  if (!isSearch(state) && state.picture == null) {
    forgetResults();
    if (listing != null || detailShown) showControl();
    if (then) then();
    return;
  }
  sortIndexes();
  if (takeResults(state)) keepSearch(isSearch(state) ? state : { search: "" });
  var at = state.picture != null ? placeOfThumb(results, state.picture, movedTo) : -1;
  movedTo = -1;
  if (at >= 0) {
    renderPic(at);
    if (then) then();
    return;
  }
  if (picked >= 0 && !then) then = function () { focusThumb(picked, "center"); };
  if (results.count == 0) showNoMatches(state);
  else showAll(then);
  if (parseInt(stored().viewcols.value) < 2 && !panel()) showControl();  // beside the strip
}

// A search that finds nothing says so in the panel, and the focus stays in its search box.
function showNoMatches(state)
{
  showList();
  showControl();
  var note = window.frames["show"].document.getElementById("found");
  if (note) note.textContent = "No pictures found for \u201C" + (state.folder || state.search) + "\u201D.";
  say("No pictures found");
}

function showBlack()
{
  blackflag = true;
  renderPic(pickedItem);
}

function showNormal()
{
  blackflag = false;
  renderPic(pickedItem);
  if (parseInt(stored().viewcols.value) == 1 || results.count == 1) showList();
}

// The results, written after a moment; `then`, when given, runs once they are written.
function showAll(then)
{
  setTimeout(function () {
    showList();
    if (then) then();
  }, 50);
}

// Thumbnails are written a batch at a time, so that the first ones show at once however many
// pictures match; "More" at the end of the strip or grid adds the next batch.
var batchSize = 120;

function showList()
{
  blackflag = false;
  detailShown = false;
  if (results == null) {
    showControl();
    writeFrame("film", blankFrame);
    return;
  }
  var columns = parseInt(stored().viewcols.value);
  if (columns > results.count) columns = results.count;
  listing = { columns: columns, titles: stored().titles.checked, shown: 0,
    batch: columns < 2 ? batchSize : columns * Math.ceil(batchSize / columns) };
  var page = frameStart("Pictures found", "background=\"texture2.jpg\" bgcolor=\"#000000\" text=\"#FFFFFF\"",
    "a[data-n]{display:inline-block}" + navStyle);
  var found = countOf(results.count);
  say(results.count == 0 ? "No pictures found" : found);
  if (results.count == 0) page += "<h2 align=center>Sorry, no matches found</h2>";
  else page += "<p align=center style=\"margin:4px 0\">" + found + "</p>" + nextBatch() + moreLink();
  page += "</body></html>";
  if (columns < 2) {
    writeFrame("film", page);
  } else {
    writeFrame("show", page);
    writeFrame("film", blankFrame);
    if (controlflag) getControl();
  }
}

// The table of the next batch of thumbnails; counts them as shown.
function nextBatch()
{
  var columns = listing.columns;
  var table;
  if (columns < 2) table = "<table align=center cellspacing=5 cellpadding=0>";
  else if (listing.titles) table = "<table align=center border=0 cellspacing=5 cellpadding=0 width=" + (columns * 104) + ">";
  else table = "<table align=center border=0>";
  var cells = "";
  var from = listing.shown;
  var to = Math.min(results.count, from + listing.batch);
  for (var i = from; i < to; i++) {
    var pic = results.item[i].object;
    if (i > from && columns > 0 && (i - from) % columns == 0) cells += "</tr><tr>";
    cells += "<td align=center valign=top><a href=\"#\" data-n=\"" + i + "\" aria-label=\"" +
      pictureName(pic) + "\" onClick=\"parent.showPic(" + i + ");return false\">" +
      "<img src=\"" + htmlText(imageUrl(pic.thumb)) + "\" width=96 height=96 border=0 loading=\"lazy\" " +
      "style=\"object-fit:contain\" alt=\"\"></a>";
    if (listing.titles) cells += "<br><small>" + shortTitle(pic.title) + "</small>";
    cells += "</td>";
  }
  listing.shown = to;
  return table + "<tr>" + cells + "</tr></table>";
}

function moreLink()
{
  if (listing.shown >= results.count) return "";
  return "<p align=center id=\"more\"><a href=\"#\" onClick=\"parent.showMore();return false\">" +
    "More</a></p>";
}

function countOf(n)
{
  return n + (n == 1 ? " picture" : " pictures");
}

// Adds the next batch of thumbnails before the "More" link, which goes when all are shown.
function showMore()
{
  if (listing == null || results == null) return false;
  var frame = window.frames[listing.columns < 2 ? "film" : "show"].document;
  var more = frame.getElementById("more");
  if (!more) return false;
  more.insertAdjacentHTML("beforebegin", nextBatch());
  if (listing.shown >= results.count) more.parentNode.removeChild(more);
  return true;
}

// The title as grid text: cut near 32 characters, long words broken with <br>; every piece is
// escaped before the pieces are joined.
function shortTitle(str)
{
  var text = String(str);
  if (text.length > 32) {
    var cut = -1;
    for (var p = 32; p >= 29 && cut < 0; p--) if (text.charAt(p) == " ") cut = p;
    text = (cut >= 0) ? text.substring(0, cut) : text.substring(0, 31);
  }
  var pieces = null;
  if (text.length > 15) {
    var count = 0;
    for (var i = 0; i < text.length; i++) {
      var space = text.charAt(i) == " ";
      if (!space) count++;
      if (!space && i != text.length - 1) continue;
      if (count > 15) {
        if (i - count < 7) {
          if (i >= 25) pieces = [text.substring(0, 9), text.substring(9, 21), text.substring(21)];
          else pieces = [text.substring(0, 9), text.substring(9)];
        } else {
          pieces = [text.substring(0, i - count + 13), text.substring(i - count + 13)];
        }
      }
      count = 0;
    }
  }
  if (pieces == null) return htmlText(str);
  for (var k = 0; k < pieces.length; k++) pieces[k] = htmlText(pieces[k]);
  return pieces.join("<br>");
}

// The panel's option list of `words` with the `selected`-th chosen (0: none). The escaped
// option texts are made once per list and kept with it.
function options(words, selected)
{
  if (!words.optionTexts) {
    words.optionTexts = new Array(words.length);
    for (var i = 0; i < words.length; i++) words.optionTexts[i] = htmlText(words[i]) + "</option>";
  }
  var parts = new Array(words.length + 1);
  parts[0] = "<option></option>";
  for (var i = 0; i < words.length; i++)
    parts[i + 1] = (i + 1 == selected ? "<option selected>" : "<option>") + words.optionTexts[i];
  return parts.join("");
}

// Large archives have lists of thousands of words and dates, which take the browser a long
// time to build. Their lists are written with the chosen entry only and filled when first
// used (pressed or reached with the keyboard); small ones are written whole at once.
var kFilledAtOnce = 2000;

function listWords(name)
{
  return name == "title" ? cat.title.words : cat.picdate.words;
}

function list(name, kept, onChange, label, more)
{
  var words = listWords(name);
  var selected = parseInt(kept.value) || 0;
  var head = "<select name=\"" + name + "\" aria-label=\"" + label + "\" onChange=\"" + onChange + "\"" +
    (more || "");
  if (cat.title.words.length + cat.picdate.words.length <= kFilledAtOnce)
    return head + " data-filled=\"1\">" + options(words, selected) + "</select>";
  var chosen = selected > 0 && selected <= words.length ?
    "<option selected>" + htmlText(words[selected - 1]) + "</option>" : "";
  return head + " data-kept=\"" + selected + "\" onmousedown=\"parent.fillList(this)\"" +
    " onfocus=\"parent.fillList(this)\"><option></option>" + chosen + "</select>";
}

function fillList(select)
{
  if (select.getAttribute("data-filled")) return;
  select.innerHTML = options(listWords(select.name), listIndex(select));
  select.setAttribute("data-filled", "1");
}

// The entry chosen in a list, counted in the whole list whether it is filled or not.
function listIndex(select)
{
  if (select.getAttribute("data-filled")) return select.selectedIndex;
  return select.selectedIndex == 0 ? 0 : parseInt(select.getAttribute("data-kept")) || 0;
}

function resetList(select)
{
  select.selectedIndex = 0;
  if (!select.getAttribute("data-filled")) select.setAttribute("data-kept", "0");
}

// The panel's lists are sorted once: the catalog does not change after the page has loaded.
function sortIndexes()
{
  if (cat.sorted) return;
  array_qsort(cat.title.words, 0, cat.title.words.length - 1, default_cmp);
  array_qsort(cat.path.words, 0, cat.path.words.length - 1, default_cmp);
  sortDates();
  cat.sorted = true;
}

function getControl()
{
  var keep = stored();
  sortIndexes();
  var columns = "";
  for (var c = 1; c <= 8; c++)
    columns += "<option" + (String(c) == keep.viewcols.value ? " selected" : "") + ">" + c + "</option>";
  var html = frameStart("Search", "background=\"texture.jpg\" bgcolor=\"#F4F1EA\"") +
    "<form name=\"cont\" onSubmit=\"parent.doSearch(true);return false\">" +
    "<table border=0 cellpadding=0 cellspacing=3>" +
    "<tr><td colspan=2><input type=button value=\"Search\" onClick=\"parent.doSearch()\"> " +
    "<input type=button value=\" Clear \" onClick=\"parent.clear()\"> <label>Thumbnail Columns " +
    "<select name=\"viewcols\" onChange=\"parent.storeSetup()\">" + columns + "</select></label> " +
    "<label><input type=checkbox name=\"titles\" onClick=\"parent.storeSetup()\"" +
    (keep.titles.checked ? " checked" : "") + "> Show Titles</label></td></tr>" +
    "<tr><td colspan=2><input type=text name=\"keywords\" size=60 aria-label=\"Search words\" value=\"" +
    htmlText(keep.keywords.value) + "\"> <span id=\"found\"></span></td></tr>" +
    "<tr><td valign=top>Index Words:<br>" +
    list("title", keep.title, "parent.wordChosen(this)", "Index words",
      " onkeydown=\"return parent.wordKey(this, event)\" onblur=\"parent.wordLeft(this)\"") +
    "</td><td valign=top>Date Range:<br>" +
    list("startdate", keep.startdate, "parent.copyDate()", "From date") + " " +
    list("enddate", keep.enddate, "parent.copyDate()", "To date") + "</td></tr>";
  if (cat.path.words.length > 1) {
    html += "<tr><td colspan=2>Folder:</td></tr>";
    for (var f = 0; f < cat.path.words.length; f++)
      html += "<tr><td colspan=2><a href=\"#\" onClick=\"parent.searchPath(" + f + ");return false\">" +
        htmlText(cat.path.words[f]) + "</a></td></tr>";
  }
  controlFrame = html + "</table></form></body></html>";
  controlflag = false;
}

// The panel, with the focus in its search box.
function showControl()
{
  if (controlflag || !controlFrame) getControl();
  writeFrame("show", controlFrame);
  detailShown = false;
  focusIn("show", panel().keywords, "nearest");
}

function storeSetup()
{
  var form = panel();
  var keep = stored();
  if (!form || !keep) return;
  keep.keywords.value = form.keywords.value;
  keep.title.value = listIndex(form.title);
  keep.startdate.value = listIndex(form.startdate);
  keep.enddate.value = listIndex(form.enddate);
  keep.viewcols.value = form.viewcols.options[form.viewcols.selectedIndex].text;
  keep.titles.checked = form.titles.checked;
  controlflag = true;
}

// Adds a word picked from Index Words to a form's search as a word of its own; after a date
// or folder search (`anew`) it starts a new one.
function addWord(form, word, anew)
{
  if (word == "") return;
  if (anew) {
    form.keywords.value = "";
    resetList(form.startdate);
    resetList(form.enddate);
  }
  var typed = form.keywords.value;
  form.keywords.value = typed + (typed != "" && !/\s$/.test(typed) ? " " : "") + word + " ";
}

function copyWord(word)
{
  var form = panel();
  addWord(form, word, form.startdate.selectedIndex != 0 || form.enddate.selectedIndex != 0 || pathflag);
  if (word != "") pathflag = false;
  storeSetup();
}

// Moving through the closed word list with the keyboard changes its choice at every step; the
// word is added when it is chosen: Enter, or leaving the list. A pick with the mouse adds it
// at once.
function wordKey(select, event)
{
  if (/^(Arrow|Page|Home|End)/.test(event.key)) {
    select.setAttribute("data-moving", "1");
  } else if (event.key == "Enter" && select.getAttribute("data-moving")) {
    wordLeft(select);
    return false;
  }
  return true;
}

function wordChosen(select)
{
  if (!select.getAttribute("data-moving")) copyWord(select.options[select.selectedIndex].text);
}

function wordLeft(select)
{
  if (!select.getAttribute("data-moving")) return;
  select.removeAttribute("data-moving");
  copyWord(select.options[select.selectedIndex].text);
}

// A date picked from a form's date lists: the box shows the range, and no word is picked.
function addDates(form)
{
  form.keywords.value = form.startdate.options[form.startdate.selectedIndex].text + "  " +
    form.enddate.options[form.enddate.selectedIndex].text;
  resetList(form.title);
}

function copyDate()
{
  addDates(panel());
  storeSetup();
}

function clear()
{
  var form = panel();
  form.keywords.value = "";
  resetList(form.startdate);
  resetList(form.enddate);
  resetList(form.title);
  storeSetup();
}

function searchPath(i)
{
  clear();
  go({ folder: cat.path.words[i] }, "push");
}

var welcomeFrame = frameStart("Welcome", "background=\"texture.jpg\" bgcolor=\"#F4F1EA\"") +
  "<h1 align=center>Welcome to Lumvane</h1><h3 align=center>Search by words or by date." +
  "<br>Select one or more words from the Index Words" +
  "<br>list or select a single date or a Date Range." +
  "<br>Number of Thumbnail Columns may be changed." +
  "<br>Click the Clear button to clear all selections." +
  "<br>Click the Search button to perform search." +
  "<br>Leave search field blank to get all images.</h3></body></html>";

var xFrame = "<html><body bgcolor=\"#000000\" onLoad=\"parent.initialize()\"></body></html>";

var startFrame = frameStart("Start", "bgcolor=\"#000000\" text=\"#FFFFFF\" link=\"#FFFFFF\" vlink=\"#FFFFFF\"",
  "a{color:#FFFFFF}") +
  "<a href=\"#\" onClick=\"parent.showControl();return false\"><big><b>Start</b></big></a>" +
  "<div id=\"said\" role=\"status\" aria-live=\"polite\" style=\"position:absolute;width:1px;height:1px;" +
  "overflow:hidden;clip:rect(0 0 0 0);white-space:nowrap\"></div>" +
  "<form name=\"cont\" onSubmit=\"return false\"><div style=\"display:none\">" +
  "<input type=text name=\"keywords\" value=\"\"><input type=text name=\"title\" value=\"\">" +
  "<input type=text name=\"startdate\" value=\"\"><input type=text name=\"enddate\" value=\"\">" +
  "<input type=text name=\"viewcols\" value=\"1\"><input type=checkbox name=\"titles\">" +
  "</div></form></body></html>";

var blankFrame = frameStart("Pictures", "background=\"texture2.jpg\" bgcolor=\"#000000\"") + " </body></html>";

// The frames start empty and are written from here, so that they share the page's origin
// even when the archive is opened from a disk.
function fillFrames()
{
  writeFrame("film", blankFrame);
  loadRecords(function (done, all) {
    writeFrame("show", loadingFrame(done, all));
  }, function () {
    writeFrame("show", welcomeFrame);
    writeFrame("control", xFrame);
  });
}

function loadingFrame(done, all)
{
  return frameStart("Loading", "background=\"texture.jpg\" bgcolor=\"#F4F1EA\"") +
    "<h2 align=center role=\"status\">" + loadingText(done, all) + "</h2></body></html>";
}

// Once the frames are there, the address is shown: a reloaded or sent address opens its
// search or picture.
function initialize()
{
  writeFrame("control", startFrame);
  getControl();
  followAddresses();
  document.addEventListener("fullscreenchange", fullScreenChanged);
  if (location.hash.length > 1) showAddress();
  else setTimeout(countOccurrences, 0);  // the pictures' names, before a click
}
