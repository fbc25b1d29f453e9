// SPDX-License-Identifier: GPL-3.0-or-later
// Everything an archive knows about one picture: eleven text fields, in their fixed order.
#ifndef LUMVANE_PICTURES_PICTURE_RECORD_H_
#define LUMVANE_PICTURES_PICTURE_RECORD_H_

#include <array>
#include <string>

namespace lumvane {

struct PictureRecord {
  static constexpr int kFieldCount = 11;
  static constexpr int kEarlierFieldCount = 10;  // pages written before `details`

  std::string thumb;   // thumbnail file name relative to the archive ("_K7Q2M4H.jpg")
  std::string file;    // relative folder of the picture's files (master archives only)
  std::string path;    // folder that held the original
  std::string source;  // the original's file name
  std::string title;
  std::string subject;
  std::string category;
  std::string comment;
  std::string author;
  std::string picdate;  // display date, "April 5, 1999" for the dates Lumvane formats
  // What the photo and its file tell beyond the texts, one "key=value" a line: camera, lens,
  // aperture, exposure, iso, focal, pixels, gps, original (the copy's name), bytes. The page
  // shows them; the editor never changes them.
  std::string details;

  // The fields in record order.
  std::array<std::string*, kFieldCount> Fields() {
    return {&thumb,    &file,    &path,   &source,  &title,  &subject,
            &category, &comment, &author, &picdate, &details};
  }
  std::array<const std::string*, kFieldCount> Fields() const {
    return {&thumb,    &file,    &path,   &source,  &title,  &subject,
            &category, &comment, &author, &picdate, &details};
  }
};

// Appends "key=value" as a line of `details` unless `value` is empty; line breaks in the value
// become blanks.
inline void AddDetail(std::string* details, const std::string& key, std::string value) {
  for (char& c : value) {
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  }
  if (value.empty()) return;
  if (!details->empty()) details->push_back('\n');
  *details += key + "=" + value;
}

}  // namespace lumvane

#endif  // LUMVANE_PICTURES_PICTURE_RECORD_H_
