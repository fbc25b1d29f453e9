// SPDX-License-Identifier: MIT
// The archive's search engine: sorting, keyword parsing, the three indexes and the catalog.
// The records block below this library is read into the catalog when the page has loaded.

// Sorts arrayName[lo..up] with cmp_fun, in O(n log n) on every input (sorted, reversed and
// all-equal lists included), through the engine's stable sort of that slice.
function _array_qsort(arrayName, lo, up, cmp_fun)
{
  if (up <= lo) return;
  var slice = arrayName.slice(lo, up + 1).sort(cmp_fun);
  for (var i = 0; i < slice.length; i++) arrayName[lo + i] = slice[i];
}

function array_qsort(arrayName, lo, hi, cmp_fun)
{
  if (arrayName == null) return;
  _array_qsort(arrayName, lo, hi, cmp_fun == null ? default_cmp : cmp_fun);
}

function default_cmp(a, b)
{
  if (a == b) return 0;
  return (a > b) ? 1 : -1;
}

function isStopword(word)
{
  var w = word.toLowerCase();
  return w == "a" || w == "an" || w == "and" || w == "or" || w == "the";
}

function isSpecial(ch)
{
  return ",?-.\\/:; \n\r\t\f\b".indexOf(ch) >= 0 && ch.length == 1;
}

// Drops a trailing 's, then every character that is neither a letter nor a digit of any script
// nor one of @*_+-./; the keyword ends in one space.
function normalizeWord(word)
{
  if (word.length >= 2 && word.substring(word.length - 2) == "'s")
    word = word.substring(0, word.length - 2);
  if (!/[^A-Za-z0-9@*_+\-.\/]/.test(word)) return word + " ";  // plain ASCII: nothing to drop
  return word.replace(/[^A-Za-z0-9@*_+\-.\/\p{L}\p{N}]/gu, "") + " ";
}

// The lists below have their methods on their prototypes: a catalog makes hundreds of
// thousands of them as the page loads.
function KeywordList()
{
  this.count = 0;
  this.word = [];
  return this;
}
KeywordList.prototype.add = AddKeyword;

function AddKeyword(word)
{
  for (var i = 0; i < this.count; i++)
    if (this.word[i] == word) return;
  this.word[this.count] = word;
  this.count++;
}

function Result(object, score)
{
  this.object = object;
  this.score = score;
  return this;
}

// Beside the list, each picture's place in it (plus one; 0 for none) by picture number, so
// that adding a point is a lookup, not a scan. A typed array: a search that finds every one
// of 200,000 pictures then makes no garbage but the results themselves. Lists are made by
// searches, once every picture is in the catalog and numbered.
function ResultList()
{
  this.count = 0;
  this.item = new Array();
  this.placeOf = new Int32Array(cat.count + 1);
  this.add = AddResult;
  this.sort = SortResults;
  return this;
}

function AddResult(object)
{
  var place = this.placeOf[object.num];
  if (place > 0) {
    this.item[place - 1].score++;
    return;
  }
  this.item[this.count] = new Result(object, 1);
  this.count++;
  this.placeOf[object.num] = this.count;
}

// Higher scores first; equal scores keep their order (the engine's sort is stable).
// Best first; a later search may add to the list, so each picture's place follows it.
function SortResults()
{
  this.item.sort(CompareResults);
  for (var i = 0; i < this.count; i++) this.placeOf[this.item[i].object.num] = i + 1;
}

function CompareResults(a, b)
{
  if (a.score == b.score) return 0;
  return (a.score > b.score) ? -1 : 1;
}

function IndexItemList()
{
  this.count = 0;
  this.item = [];
  return this;
}
IndexItemList.prototype.add = AddIndexItem;

function AddIndexItem(object)
{
  this.item[this.count] = object;
  this.count++;
}

// Keys are catalog text, so the lookup object has no prototype: a word such as "constructor"
// or "__proto__" is a word like any other.
function Index()
{
  this.count = 0;
  this.item = Object.create(null);
  this.words = new Array();
  return this;
}
Index.prototype.addWord = AddWordToIndex;
Index.prototype.addWords = AddWordsToIndex;
Index.prototype.find = SearchIndex;

// Objects come in catalog order, so a word met twice for one object is the list's last item.
function AddWordToIndex(object, word)
{
  var list = this.item[word];
  if (!list) {
    list = new IndexItemList();
    this.item[word] = list;
    this.words[this.words.length] = word;
    this.count++;
  } else if (list.item[list.count - 1] === object) {
    return;
  }
  list.add(object);
}

function AddWordsToIndex(object, words)
{
  for (var k = 0; k < words.length; k++) this.addWord(object, words[k]);
}

function SearchIndex(keywords)
{
  var list = (results != null) ? results : new ResultList();
  for (var k = 0; k < keywords.count; k++) {
    var items = this.item[keywords.word[k]];
    if (!items) continue;
    for (var n = 0; n < items.count; n++) list.add(items.item[n]);
  }
  list.sort();
  return list;
}

// The separators of isSpecial, as one pattern: splitting at them is far quicker than a loop
// over the characters when thousands of records are indexed as the page loads.
var specialCharacters = /[,?\-.\\\/:; \n\r\t\f\x08]/;

// The keyword of each lower-case word met so far (" " for a stop word or none): a catalog
// repeats its words many times over.
var keywordOfWord = Object.create(null);

// The keywords of `str` in order, a repeated word as often as it is there.
function keywordsIn(str)
{
  var keywords = [];
  var pieces = String(str).toLowerCase().split(specialCharacters);
  for (var i = 0; i < pieces.length; i++) {
    var word = pieces[i];
    if (word == "") continue;
    var keyword = keywordOfWord[word];
    if (keyword === undefined) {
      keyword = isStopword(word) ? " " : normalizeWord(word);
      keywordOfWord[word] = keyword;
    }
    if (keyword != " ") keywords.push(keyword);
  }
  return keywords;
}

function parseKeywords(str)
{
  var list = new KeywordList();
  var keywords = keywordsIn(str);
  for (var i = 0; i < keywords.length; i++) list.add(keywords[i]);
  return list;
}

function parseDate(str)
{
  var list = new KeywordList();
  list.add(str);
  return list;
}

// Sort key of a date text: year, month number, day, then the text itself
// ('March 5, 1999' gives '19990305March 5, 1999'; 'March 1999' gives '19990300March 1999').
function myDate(str)
{
  var year, day;
  var comma = str.indexOf(",");
  if (comma < 0) {
    year = str.substring(str.indexOf(" ") + 1);
    day = "00";
  } else {
    year = str.substring(comma + 2);
    if (str.charAt(comma - 2) == " ") day = "0" + str.charAt(comma - 1);
    else day = str.substring(comma - 2, comma);
  }
  return year + monthnum(str) + day + str;
}

function sortDates()
{
  var words = cat.picdate.words;
  for (var i = 0; i < words.length; i++) words[i] = myDate(words[i]);
  array_qsort(words, 0, words.length - 1, default_cmp);
  for (var i = 0; i < words.length; i++) words[i] = words[i].substring(8);
}

function monthnum(str)
{
  var months = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"];
  var start = String(str).substring(0, 3);
  for (var m = 0; m < 12; m++)
    if (months[m] == start) return (m < 9 ? "0" : "") + (m + 1);
  return "00";
}

// The display image of a thumbnail: the file name's eighth character moved one place on in
// the name alphabet; a folder in front of the name (master archives) is kept.
function nextfile(thumb)
{
  var alphabet = "@NAME_ALPHABET@";
  var slash = thumb.lastIndexOf("/");
  var folder = thumb.substring(0, slash + 1);
  var name = thumb.substring(slash + 1);
  if (name.length < 8) return thumb;
  var at = alphabet.indexOf(name.charAt(7));
  if (at < 0 || at == 7 || at == 15 || at == 23 || at == 31) return thumb;
  return folder + name.substring(0, 7) + alphabet.charAt(at + 1) + ".jpg";
}

function Pic(thumb, file, path, source, title, subject, category, comment, author, picdate, details)
{
  this.thumb = thumb;
  this.file = file;
  this.path = path;
  this.source = source;
  this.title = title;
  this.subject = subject;
  this.category = category;
  this.comment = comment;
  this.author = author;
  this.picdate = picdate;
  this.details = details || "";  // "key=value" lines: the camera's facts, the original's copy
  return this;
}

function Catalog()
{
  this.count = 0;
  this.sorted = false;  // the index lists are sorted once, when the panel is first built
  this.pic = new Object();
  this.title = new Index();
  this.path = new Index();
  this.picdate = new Index();
  this.lastPath = null;  // the folder of the last picture added, made once per folder
  this.lastFolder = "";
  this.keywordsOf = Object.create(null);  // subjects, categories and comments repeat
  this.lastRow = ["", "", "", "", "", "", "", "", "", "", ""];  // a lone quote's values
  this.add = AddToCatalog;
  this.addRecords = AddRecords;
  this.addRows = AddRows;
  this.keywordsOfText = KeywordsOfText;
  return this;
}

function KeywordsOfText(text)
{
  var keywords = this.keywordsOf[text];
  if (keywords === undefined) {
    keywords = keywordsIn(text);
    this.keywordsOf[text] = keywords;
  }
  return keywords;
}

// Adds the records of the page's records block, which the browser does not run: one record a
// line, its ten values (eleven with details) joined by tabs as the bodies of script strings
// (no value holds a raw tab, quote or line break); a lone double quote is the value of the
// record before. Reading them here takes a fraction of the time the browser takes to compile
// records as script, and the rows take half the bytes. A line of another count is passed over.
function AddRecords(text)
{
  this.addRows(String(text).split("\n"), 0);
}

// Adds rows[from..to) (to the end when `to` is not given); a later call goes on from there.
function AddRows(rows, from, to)
{
  var last = this.lastRow;
  var end = to === undefined ? rows.length : Math.min(to, rows.length);
  for (var r = from; r < end; r++) {
    var v = rows[r].split("\t");
    var n = v.length;
    if (n != 10 && n != 11) continue;
    if (v[n - 1].charAt(v[n - 1].length - 1) == "\r") v[n - 1] = v[n - 1].substring(0, v[n - 1].length - 1);
    if (n == 10) v.push("");
    for (var i = 0; i < 11; i++) v[i] = v[i] == "\"" ? last[i] : scriptText(v[i]);
    last = v;
    this.add(new Pic(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]));
  }
  this.lastRow = last;
}

// The value of a script string's body, its escapes read as the script would read them.
var scriptEscape = /\\(x[0-9A-Fa-f]{2}|u[0-9A-Fa-f]{4}|[\s\S])/g;
var scriptEscapes = { n: "\n", r: "\r", t: "\t", b: "\b", f: "\f", v: "\v", "0": "\0" };

function scriptText(body)
{
  if (body.indexOf("\\") < 0) return body;
  return body.replace(scriptEscape, function (all, escape) {
    if (escape.length > 1) return String.fromCharCode(parseInt(escape.substring(1), 16));
    return scriptEscapes.hasOwnProperty(escape) ? scriptEscapes[escape] : escape;
  });
}

// Empty folders and dates are not indexed: they would be blank, unselectable-looking entries.
function AddToCatalog(pic)
{
  this.pic[this.count] = pic;
  this.count++;
  pic.num = this.count;
  this.title.addWords(pic, keywordsIn(pic.title));
  this.title.addWords(pic, this.keywordsOfText(pic.subject));
  this.title.addWords(pic, this.keywordsOfText(pic.category));
  this.title.addWords(pic, this.keywordsOfText(pic.comment));
  if (pic.path != this.lastPath) {  // records come folder by folder
    var folder = pic.path.toLowerCase();
    this.lastPath = pic.path;
    this.lastFolder = folder.charAt(0).toUpperCase() + folder.substring(1);
  }
  if (this.lastFolder != "") this.path.addWord(pic, this.lastFolder);
  if (pic.picdate != "") this.picdate.addWord(pic, pic.picdate);
}

var cat = new Catalog();
