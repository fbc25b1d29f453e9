// Everything an archive knows about one picture: ten text fields, in their fixed order.
#ifndef LUMVANE_PICTURES_PICTURE_RECORD_H_
#define LUMVANE_PICTURES_PICTURE_RECORD_H_

#include <array>
#include <string>

namespace lumvane {

struct PictureRecord {
  static constexpr int kFieldCount = 10;

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

  // The fields in record order.
  std::array<std::string*, kFieldCount> Fields() {
    return {&thumb,   &file,     &path,    &source, &title,
            &subject, &category, &comment, &author, &picdate};
  }
  std::array<const std::string*, kFieldCount> Fields() const {
    return {&thumb,   &file,     &path,    &source, &title,
            &subject, &category, &comment, &author, &picdate};
  }
};

}  // namespace lumvane

#endif  // LUMVANE_PICTURES_PICTURE_RECORD_H_
