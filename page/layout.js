// SPDX-License-Identifier: MIT

// Phones and tablets (a narrow window or a touch screen) get a layout of their own; larger
// screens the frames. The choice is made once, as the page loads.
var phoneLayout = typeof window != "undefined" && !!window.matchMedia &&
  window.matchMedia("(max-width: 699px), (pointer: coarse)").matches;

// The frames are three inline frames laid out as a frameset would be: a frameset page is
// loaded again by Back and Forward, which would lose the reader's place.
function frameMarkup(name, title, box, more)
{
  return "<iframe name=\"" + name + "\" title=\"" + title + "\" src=\"about:blank\" " + more +
    " style=\"position:fixed;border:0;" + box + "\"></iframe>";
}

var framesMarkup = "<body style=\"margin:0;overflow:hidden\" onload=\"fillFrames()\">" +
  frameMarkup("control", "Start", "left:0;top:0;width:128px;height:23px", "scrolling=\"no\" marginwidth=5 marginheight=0") +
  frameMarkup("film", "Pictures", "left:0;top:23px;width:128px;height:calc(100% - 23px)", "marginwidth=0 marginheight=0") +
  frameMarkup("show", "Search and picture", "left:128px;top:0;width:calc(100% - 128px);height:100%",
    "marginwidth=4 marginheight=1") + "</body>";

var phoneMarkup = "<body class=\"phone\" onload=\"startPhone()\"><main id=\"phone\"></main></body>";

function writeLayout()
{
  document.write(phoneLayout ? phoneMarkup : framesMarkup);
}

// "Loading 200,000 pictures..." while a large archive's records are read.
function loadingText(done, all)
{
  return "Loading " + all.toLocaleString("en-US") + " pictures... " +
    (all ? Math.floor(done * 100 / all) : 100) + "%";
}

// Reads the records block into the catalog a slice at a time, telling `progress` how far it
// is when the archive is large, then calls `done`.
function loadRecords(progress, done)
{
  var rows = String(document.getElementById("records").text).split("\n");
  var first = rows.length && rows[0].trim() == "" ? 1 : 0;  // the block's own line ends
  var from = first;
  var end = rows.length && rows[rows.length - 1].trim() == "" ? rows.length - 1 : rows.length;
  var step = function () {
    var started = Date.now();
    while (from < end && Date.now() - started < 150) {
      cat.addRows(rows, from, Math.min(end, from + 5000));
      from += 5000;
    }
    if (from >= end) {
      document.title = "Lumvane";
      done();
      return;
    }
    document.title = loadingText(from - first, end - first);  // a sign of life in the tab, too
    progress(from - first, end - first);
    setTimeout(step, 0);
  };
  step();
}
