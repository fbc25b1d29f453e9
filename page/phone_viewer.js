// SPDX-License-Identifier: MIT

// The picture viewer of phones and tablets, on the PhotoSwipe library built into the page.
// Each picture's size is known once its display image has loaded; until then its thumbnail's
// proportions stand for it.
function viewerItem(index)
{
  var pic = results.item[index].object;
  var player = playerHtml(pic, "max-width:100%;max-height:100%");
  if (player) return { html: "<div class=\"clip\">" + player + "</div>" };
  var src = imageUrl(nextfile(pic.thumb));
  var size = phone.sizes[src];
  if (!size) {
    size = guessedSize(index);
    var image = new Image();
    image.onload = function () {
      phone.sizes[src] = { width: image.naturalWidth, height: image.naturalHeight };
      if (phone.viewer) phone.viewer.refreshSlideContent(index);
    };
    image.src = src;
  }
  return { src: src, msrc: imageUrl(pic.thumb), width: size.width, height: size.height,
    alt: pic.title != "" ? pic.title : pic.source };
}

function guessedSize(index)
{
  var thumb = document.querySelector("#grid a[data-n=\"" + index + "\"] img");
  var ratio = thumb && thumb.naturalWidth ? thumb.naturalWidth / thumb.naturalHeight : 4 / 3;
  return ratio >= 1 ? { width: 1024, height: Math.round(1024 / ratio) } :
    { width: Math.round(1024 * ratio), height: 1024 };
}

function openViewer(index)
{
  if (phone.viewer) {
    if (phone.viewer.currIndex != index) phone.viewer.goTo(index);
    return;
  }
  var viewer = new PhotoSwipe({ index: index, dataSource: [], counter: false, loop: false,
    bgOpacity: 1, showHideAnimationType: "fade", returnFocus: false, closeTitle: "Close (Back)",
    zoomTitle: "Zoom", arrowPrevTitle: "Previous", arrowNextTitle: "Next" });
  viewer.addFilter("numItems", function () { return results.count; });
  viewer.addFilter("itemData", function (data, i) { return viewerItem(i); });
  viewer.on("uiRegister", function () { registerViewerControls(viewer); });
  viewer.on("change", function () { viewerMoved(viewer); });
  viewer.on("close", function () { viewerClosed(viewer); });
  viewer.on("afterInit", function () { viewer.element.setAttribute("aria-label", "Picture viewer"); });
  phone.viewer = viewer;
  viewer.init();
}

function closeViewer()
{
  if (!phone.viewer) return;
  phone.closingByAddress = true;
  phone.viewer.close();
}

function viewerMoved(viewer)
{
  var index = viewer.currIndex;
  var text = (index + 1) + " of " + results.count;
  var place = element("place");
  if (place) place.textContent = text;
  element("said").textContent = text;
  showCaption(index);
  if (shownState.picture != pictureKey(results.item[index].object)) phoneOpen(index);
}

// Closed by its control, a swipe down or Escape: the address goes back to the results; closed
// because the address went there, nothing more. The results show the picture last seen.
function viewerClosed(viewer)
{
  var index = viewer.currIndex;
  stopSlideshow();
  if (document.fullscreenElement) document.exitFullscreen();
  phone.viewer = null;
  if (!phone.closingByAddress) closePicture();
  phone.closingByAddress = false;
  setTimeout(function () { phoneThumb(index); }, 0);
}

// An icon of the viewer's bar, drawn as the library draws its own.
function icon(path)
{
  return { isCustomSVG: true, inner: "<path d=\"" + path + "\" id=\"pswp__icn-" + path.length + "\"/>",
    outlineID: "pswp__icn-" + path.length };
}

var icons = {
  info: "M15 9h2v2h-2zM15 13h2v10h-2zM16 5a11 11 0 1 0 0 22a11 11 0 1 0 0-22zm0 2a9 9 0 1 1 0 18a9 9 0 1 1 0-18z",
  play: "M11 8l14 8l-14 8z",
  pause: "M10 8h4v16h-4zM18 8h4v16h-4z",
  full: "M7 7h7v2h-5v5h-2zM18 7h7v7h-2v-5h-5zM7 18h2v5h5v2h-7zM23 18h2v7h-7v-2h5z",
};

function registerViewerControls(viewer)
{
  viewer.ui.registerElement({ name: "place", order: 5, isButton: false, appendTo: "bar",
    html: "", onInit: function (el) { el.id = "place"; } });
  if (document.fullscreenEnabled) {
    viewer.ui.registerElement({ name: "fullscreen", order: 9, isButton: true, title: "Full screen",
      html: icon(icons.full), onClick: function () { phoneFullScreen(); } });
  }
  viewer.ui.registerElement({ name: "slideshow", order: 8, isButton: true, title: "Slideshow",
    html: icon(icons.play), onInit: function (el) { el.id = "slideshow"; },
    onClick: function () { togglePhoneSlideshow(); } });
  viewer.ui.registerElement({ name: "info", order: 7, isButton: true, title: "Details",
    html: icon(icons.info), onClick: function () { element("caption").classList.toggle("open"); } });
  viewer.ui.registerElement({ name: "caption", order: 10, isButton: false, appendTo: "root",
    html: "", onInit: function (el) { el.id = "caption"; } });
}

function showCaption(index)
{
  var caption = element("caption");
  if (!caption) return;
  var pic = results.item[index].object;
  var texts = [pic.subject, pic.category, pic.comment, pic.author, pic.source];
  var more = "";
  for (var t = 0; t < texts.length; t++) if (texts[t] != "") more += "<p>" + htmlText(texts[t]) + "</p>";
  caption.innerHTML = "<p class=\"title\">" + htmlText(pic.title || pic.source) +
    (pic.picdate ? " <span>" + htmlText(pic.picdate) + "</span>" : "") + "</p>" +
    "<div class=\"more\">" + more + detailsHtml(pic) + "</div>";
}

function phoneFullScreen()
{
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen().catch(function () {});
}

// The slideshow moves on every few seconds until it is paused or the viewer closes; the last
// picture is followed by the first.
function togglePhoneSlideshow()
{
  var playing = runSlideshow(function () {
    if (!phone.viewer) return;
    var next = phone.viewer.currIndex + 1;
    phone.viewer.goTo(next >= results.count ? 0 : next);
  });
  var control = element("slideshow");
  if (control) {
    control.querySelector("path").setAttribute("d", playing ? icons.pause : icons.play);
    control.title = playing ? "Pause slideshow" : "Slideshow";
    control.setAttribute("aria-label", control.title);
  }
  element("said").textContent = playing ? "Slideshow playing" : "Slideshow paused";
}

// Space pauses or plays the slideshow in the viewer.
if (typeof document != "undefined") {
  document.addEventListener("keydown", function (event) {
    if (phoneLayout && phone.viewer && event.key == " ") {
      togglePhoneSlideshow();
      event.preventDefault();
    }
  });
}
