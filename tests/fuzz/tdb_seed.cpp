// Writes a small, sound V3 database at argv[1]: the seed the tdb fuzzer mutates from.
#include <fstream>

#include "tests/support/thumbsplus_database.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  testing_support::Tdb db;
  db.volumes = {{1, "PHOTOS"}, {2, "OLD"}};
  db.folders = {{1, 1, "Trips\\1999"}, {2, 2, ""}};
  db.files = {{1, 1, "a.jpg"}, {2, 2, "b.jpg"}, {3, 1, "c.jpg"}, {4, 9, "d.jpg"}};
  db.keywords = {{1, "sea"}, {2, "boat"}, {3, "dawn"}};
  db.links = {{1, 1}, {3, 2}, {1, 3}, {2, 2}};
  db.per_page = 2;
  std::ofstream(argv[1], std::ios::binary) << db.Bytes();
  return 0;
}
