// SPDX-License-Identifier: MIT

// The layout of phones and tablets: the search above a grid of thumbnails sized to the screen,
// and a picture in a viewer that fills it (swipe, pinch and double-tap to zoom, swipe down or
// Back to close), from the same records, the same search and the same addresses as the frames.
var phone = { listing: null, viewer: null, closingByAddress: false, sizes: {} };

function element(id) { return document.getElementById(id); }

function startPhone()
{
  var root = element("phone");
  root.innerHTML = "<p class=\"loading\" role=\"status\">" + loadingText(0, 0) + "</p>";
  loadRecords(function (done, all) {
    root.firstChild.textContent = loadingText(done, all);
  }, function () {
    sortIndexes();
    root.innerHTML = phoneSearchForm() +
      "<p id=\"count\" role=\"status\" aria-live=\"polite\">Search by words or by date; " +
      "leave the words blank to see all pictures.</p><div id=\"grid\"></div>" +
      "<div id=\"said\" class=\"unseen\" aria-live=\"polite\"></div>";
    followAddresses();
    if (location.hash.length > 1) showAddress();
  });
}

function phoneSearchForm()
{
  var html = "<form id=\"find\" role=\"search\" onsubmit=\"phoneSearch();return false\">" +
    "<div class=\"row\"><input type=\"search\" name=\"keywords\" aria-label=\"Search words\" " +
    "placeholder=\"Words\" autocomplete=\"off\"><button type=\"submit\">Search</button></div>" +
    "<label>Index Words " + list("title", { value: 0 }, "phoneWord(this)", "Index words") + "</label>" +
    "<div class=\"row\"><label>From " + list("startdate", { value: 0 }, "phoneDate()", "From date") +
    "</label><label>To " + list("enddate", { value: 0 }, "phoneDate()", "To date") + "</label></div>";
  if (cat.path.words.length > 1) {
    html += "<label>Folder <select name=\"folder\" onchange=\"phoneFolder(this)\"><option></option>";
    for (var f = 0; f < cat.path.words.length; f++) html += "<option>" + htmlText(cat.path.words[f]) + "</option>";
    html += "</select></label>";
  }
  return html + "</form>";
}

function phoneForm() { return element("find"); }

function phoneWord(select)
{
  var form = phoneForm();
  addWord(form, select.options[select.selectedIndex].text,
    form.startdate.selectedIndex != 0 || form.enddate.selectedIndex != 0);
}

function phoneDate()
{
  addDates(phoneForm());
}

function phoneFolder(select)
{
  if (select.selectedIndex > 0) go({ folder: cat.path.words[select.selectedIndex - 1] }, "push");
}

function phoneSearch()
{
  go(searchOfForm(phoneForm()), "push");
}

// The form shows the search of the address.
function phoneKeepSearch(state)
{
  var form = phoneForm();
  form.keywords.value = state.folder != null ? state.folder : state.search || "";
  if (form.folder) form.folder.selectedIndex = state.folder != null ? cat.path.words.indexOf(state.folder) + 1 : 0;
}

function showPhoneState(state, then)
{
  if (!isSearch(state) && state.picture == null) {
    closeViewer();
    forgetResults();
    element("grid").innerHTML = "";
    return;
  }
  if (takeResults(state)) {
    phoneKeepSearch(state);
    showGrid();
  }
  var at = state.picture != null ? placeOfThumb(results, state.picture, movedTo) : -1;
  movedTo = -1;
  if (at >= 0) openViewer(at);
  else closeViewer();
  if (then) then();
}

function showGrid()
{
  var count = results.count;
  element("count").textContent = count == 0 ? "No pictures found." : countOf(count);
  phone.listing = { shown: 0 };
  element("grid").innerHTML = "<ul class=\"thumbs\"></ul>";
  phoneMore();
  if (count == 0) phoneForm().keywords.focus();
}

// Adds the next batch of thumbnails, and a "More" button while there are more.
function phoneMore()
{
  var from = phone.listing.shown, to = Math.min(results.count, from + batchSize);
  var items = "";
  var search = searchOf(shownState);
  for (var i = from; i < to; i++) {
    var pic = results.item[i].object;
    search.picture = pictureKey(pic);
    items += "<li><a href=\"" + htmlText(addressOf(search)) + "\" data-n=\"" + i + "\" aria-label=\"" +
      pictureName(pic) + "\" onclick=\"phoneOpen(" + i + ");return false\"><img src=\"" +
      htmlText(imageUrl(pic.thumb)) + "\" loading=\"lazy\" alt=\"\"></a></li>";
  }
  phone.listing.shown = to;
  var grid = element("grid");
  grid.firstChild.insertAdjacentHTML("beforeend", items);
  var more = element("more");
  if (more) more.parentNode.removeChild(more);
  if (to < results.count)
    grid.insertAdjacentHTML("beforeend", "<button id=\"more\" onclick=\"phoneMore()\">More</button>");
  return to > from;
}

function phoneOpen(i)
{
  var state = searchOf(shownState);
  state.picture = pictureKey(results.item[i].object);
  movedTo = i;
  go(state, phone.viewer ? "replace" : "push");
}

// The thumbnail of result i, its batch written; focused and in view.
function phoneThumb(i)
{
  while (phone.listing && phone.listing.shown <= i && phoneMore()) {}
  var link = document.querySelector("#grid a[data-n=\"" + i + "\"]");
  if (!link) return;
  link.focus({ preventScroll: true });
  link.scrollIntoView({ block: "center" });
}
