// SPDX-License-Identifier: MIT

// What a record's details say, shown in the picture view beside its texts: the camera's facts,
// the place it was taken as map links, and the archive's copy of the original.
var detailNames = [["camera", "Camera"], ["lens", "Lens"], ["aperture", "Aperture"],
  ["exposure", "Exposure"], ["iso", "ISO"], ["focal", "Focal length"], ["pixels", "Original size"]];

// The details as an object: "key=value" lines, later lines of a key winning.
function detailsOf(pic)
{
  var facts = {};
  var lines = String(pic.details || "").split("\n");
  for (var i = 0; i < lines.length; i++) {
    var equals = lines[i].indexOf("=");
    if (equals > 0) facts[lines[i].substring(0, equals)] = lines[i].substring(equals + 1);
  }
  return facts;
}

// "4.2 MB", "830 KB", "12 bytes".
function sizeText(bytes)
{
  var n = Number(bytes);
  if (!(n >= 0)) return "";
  if (n >= 1000000) return (n / 1000000).toFixed(1) + " MB";
  if (n >= 1000) return Math.round(n / 1000) + " KB";
  return n + (n == 1 ? " byte" : " bytes");
}

// The folder of a picture's files in the archive ("Trip/" in a master, else "").
function folderOf(pic)
{
  return pic.thumb.substring(0, pic.thumb.lastIndexOf("/") + 1);
}

// The file: URL of a file of this computer or of a Windows drive ("C:\\Photos\\a.mp4").
function fileUrl(folder, name)
{
  var path = String(folder).replace(/\\/g, "/");
  if (path != "" && path.charAt(path.length - 1) != "/") path += "/";
  path += name;
  if (/^[A-Za-z]:/.test(path)) path = "/" + path;
  var parts = path.split("/");
  for (var i = 0; i < parts.length; i++) if (!/^[A-Za-z]:$/.test(parts[i])) parts[i] = encodeURIComponent(parts[i]);
  return "file://" + parts.join("/");
}

// Where the file that belongs with a picture is (its live clip, its RAW): the archive's copy,
// else the file beside the original; "" when it has none.
function companionUrl(pic, facts, key)
{
  if (facts[key]) return imageUrl(folderOf(pic) + facts[key]);
  if (facts[key + "_file"]) return fileUrl(pic.path, facts[key + "_file"]);
  return "";
}

// A clip's length, codec, whether the browser plays it and where its video is (the archive's
// copy, else the file it was made from); null for a photo.
function clipOf(pic)
{
  var facts = detailsOf(pic);
  if (!facts.clip) return null;
  var codecs = { h264: "H.264", hevc: "HEVC", vp8: "VP8", vp9: "VP9", av1: "AV1", mpeg2video: "MPEG-2" };
  var file = facts.original ? imageUrl(folderOf(pic) + facts.original) : fileUrl(pic.path, pic.source);
  return { length: facts.clip, codec: codecs[facts.video] || facts.video || "",
    playable: facts.playable == "1" || !!facts.preview,
    url: facts.preview ? imageUrl(folderOf(pic) + facts.preview) : file, file: file };
}

// The player of a clip the browser plays, its display image the poster until it starts; ""
// for a photo, or a clip the browser cannot play (its display image stands for it then).
function playerHtml(pic, style)
{
  var clip = clipOf(pic);
  if (!clip || !clip.playable) return "";
  return "<video controls playsinline preload=\"metadata\" poster=\"" + htmlText(imageUrl(nextfile(pic.thumb))) +
    "\" src=\"" + htmlText(clip.url) + "\" aria-label=\"" + pictureName(pic) + "\" style=\"" + style + "\"></video>";
}

// The details as HTML, every value escaped; "" when the record has none.
function detailsHtml(pic)
{
  var facts = detailsOf(pic);
  var rows = "";
  for (var d = 0; d < detailNames.length; d++) {
    var value = facts[detailNames[d][0]];
    if (value) rows += "<tr><th scope=\"row\">" + detailNames[d][1] + "</th><td>" + htmlText(value) + "</td></tr>";
  }
  var where = /^(-?\d+(\.\d+)?),(-?\d+(\.\d+)?)$/.exec(facts.gps || "");
  if (where) {
    var north = where[1], east = where[3];
    rows += "<tr><th scope=\"row\">Place</th><td><a href=\"https://www.openstreetmap.org/?mlat=" + north +
      "&amp;mlon=" + east + "#map=15/" + north + "/" + east + "\" target=\"_blank\" rel=\"noopener\">Map</a> " +
      "<a href=\"geo:" + north + "," + east + "\">" + htmlText(north + ", " + east) + "</a></td></tr>";
  }
  var clip = clipOf(pic);
  if (clip) {
    rows = "<tr><th scope=\"row\">Clip</th><td>" + htmlText(clip.length + (clip.codec ? ", " + clip.codec : "")) +
      "</td></tr>" + rows;
  }
  var html = rows ? "<table class=\"details\">" + rows + "</table>" : "";
  if (clip && !clip.playable) {  // a playable clip has its player
    html += "<p><a class=\"clip\" href=\"" + htmlText(clip.file) + "\" target=\"_blank\">" +
      "Open the clip in a player (the browser cannot play " + htmlText(clip.codec || "it") + ")</a></p>";
  }
  var live = companionUrl(pic, facts, "live");
  if (live) html += "<p><a class=\"live\" href=\"" + htmlText(live) + "\" target=\"_blank\">Live</a></p>";
  var raw = companionUrl(pic, facts, "raw");
  if (raw) html += "<p><a class=\"raw\" href=\"" + htmlText(raw) + "\" target=\"_blank\">RAW original</a></p>";
  if (facts.original) {
    var size = sizeText(facts.bytes);
    html += "<p><a class=\"original\" href=\"" + htmlText(imageUrl(folderOf(pic) + facts.original)) +
      "\" target=\"_blank\">Original" + (size ? ", " + size : "") + "</a></p>";
  }
  return html;
}
