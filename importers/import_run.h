// SPDX-License-Identifier: GPL-3.0-or-later
// What an importer sees of the run: where the pictures are, the one way into the archive,
// and whether the user asked to stop.
#ifndef LUMVANE_IMPORTERS_IMPORT_RUN_H_
#define LUMVANE_IMPORTERS_IMPORT_RUN_H_

#include <string>

#include "pictures/picture_record.h"
#include "platform/catalog_file.h"
#include "processing/process_picture.h"

namespace lumvane {

class ImportRun {
 public:
  virtual ~ImportRun() = default;

  // The source folder chosen in the window (its path as the folder list reports it).
  virtual std::string source_dir() const = 0;

  // True when every picture is read from source_dir(), whatever folder the catalog names (the
  // "select source directory" mode); the catalog's own path then only gives dates.
  virtual bool reads_source_dir() const = 0;

  // True when the run takes JPEG pictures alone; otherwise every format the image library reads.
  virtual bool jpeg_only() const = 0;

  // True when a JPEG and a camera RAW of the same name are one picture, the JPEG's, with the
  // RAW as its companion; otherwise two.
  virtual bool pair_raw() const { return false; }

  // The destination folder of the run (a master's subfolders lie in it).
  virtual std::string dest_dir() const = 0;

  // The catalog file of a catalog run, opened and locked by the driver; null in other modes.
  virtual const CatalogFile* catalog() const = 0;
  virtual std::string catalog_path() const = 0;

  // Where a catalog's source path is read on this machine: a Windows drive's path below the
  // drive's folder, its names in any letter case.
  virtual std::string Locate(const std::string& source) const = 0;

  // The file `within` ("\" separated) below `root`, a folder of this machine, its names in
  // any letter case; root/within when there is no such file.
  virtual std::string FindBelow(const std::string& root, const std::string& within) const = 0;

  // The root of the volume that carries `label`: the folder the user placed it in, else the
  // mount point of a volume with that label, else "C:". Mount points are remembered for the
  // program's life.
  virtual std::string LabelToDrive(const std::string& label) = 0;

  // How many pictures the importer expects to hand over, for progress; -1 when unknown.
  virtual void ExpectPictures(int total) = 0;

  // Hands one picture to picture processing, counts it and lets the window's events run once.
  virtual void Process(const PictureInput& picture) = 0;

  // Hands over a record that is complete already (a master's merged entry): written as it is,
  // with `tab_source` as its archive.txt source. Counts it; does not touch Status.
  virtual void AddRecord(const PictureRecord& record, const std::string& tab_source) = 0;

  // Shows `status`, counts one step of the expected total and lets the window's events run
  // once: a master's step is one archive, where other importers' steps are pictures.
  virtual void BeginStep(const std::string& status) = 0;

  // Notes something of the source that was left out, for the summary after the run. `lost`:
  // it is a picture that should have been archived (the run then fails), not a duplicate.
  virtual void NotePassedOver(const std::string& source, const std::string& reason, bool lost) = 0;

  // Notes a picture left out because its drive or volume has no folder on this machine.
  virtual void NoteNotAvailable(const CatalogPlace& place) = 0;

  // Counts one archive merged into a master.
  virtual void CountMergedArchive() = 0;

  // True once the user asked the run to stop; the importer then returns at once.
  virtual bool StopRequested() const = 0;
};

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_IMPORT_RUN_H_
