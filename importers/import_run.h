// What an importer sees of the run: where the pictures are, the one way into the archive,
// and whether the user asked to stop.
#ifndef LUMVANE_IMPORTERS_IMPORT_RUN_H_
#define LUMVANE_IMPORTERS_IMPORT_RUN_H_

#include <string>

#include "pictures/process_picture.h"
#include "platform/catalog_file.h"

namespace lumvane {

class ImportRun {
 public:
  virtual ~ImportRun() = default;

  // The source folder chosen in the window (its path as the folder list reports it).
  virtual std::string source_dir() const = 0;

  // The catalog file of a catalog run, opened and locked by the driver; null in other modes.
  virtual const CatalogFile* catalog() const = 0;
  virtual std::string catalog_path() const = 0;

  // Where a catalog's source path is read on this machine (Windows drives mapped to folders).
  virtual std::string Locate(const std::string& source) const = 0;

  // The root of the volume that carries `label`: its mount point, or "C:" when no volume does.
  // Every answer is remembered for the program's life.
  virtual std::string LabelToDrive(const std::string& label) = 0;

  // How many pictures the importer expects to hand over, for progress; -1 when unknown.
  virtual void ExpectPictures(int total) = 0;

  // Hands one picture to picture processing, counts it and lets the window's events run once.
  virtual void Process(const PictureInput& picture) = 0;

  // True once the user asked the run to stop; the importer then returns at once.
  virtual bool StopRequested() const = 0;
};

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_IMPORT_RUN_H_
