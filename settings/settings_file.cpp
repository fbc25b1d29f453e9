// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include <QStandardPaths>

#include "platform/file_probe.h"
#include "platform/file_system.h"

namespace lumvane {

std::string SettingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
         "/lumvane/lumvane.ini";
}

namespace {

// The checks of OpenSettings that come before the file is read.
Status CheckSettingsFile(const std::string& path, bool for_writing) {
  if (!NameTaken(path)) return Status::Ok();
  const Status probe = ProbeFile(path);
  switch (probe.code()) {
    case StatusCode::kOk:
      break;
    case StatusCode::kNotFound:  // a link that leads nowhere: writing would make its target
      return Status::Error(StatusCode::kNotFound,
                           "The settings file " + path + " is a link to a file that is not there");
    case StatusCode::kPermissionDenied:
      return Status::Error(StatusCode::kPermissionDenied,
                           "Cannot read the settings file " + path + ": Permission denied");
    case StatusCode::kInvalidInput:
      return Status::Error(StatusCode::kInvalidInput,
                           "The settings file " + path +
                               " is not a regular file (a folder, FIFO or device); move it away");
    default:
      return probe.Prefixed("Cannot read the settings file " + path + ": ");
  }
  const StatusOr<FileFacts> target = FactsOf(path);
  if (!target.ok()) return target.status().Prefixed("Cannot read the settings file " + path + ": ");
  if (target->size > kLargestSettingsFile) {
    return Status::Error(StatusCode::kDamaged, "The settings file " + path + " is too large (" +
                                                   std::to_string(target->size >> 20) +
                                                   " MB) to be one; move it away");
  }
  if (for_writing && IsSymbolicLink(path) && !target->owned_by_me) {
    return Status::Error(StatusCode::kDamaged,
                         "The settings file " + path +
                             " is a link to a file of another user's; it was left as it is");
  }
  return Status::Ok();
}

}  // namespace

Status OpenSettings(bool for_writing, std::unique_ptr<QSettings>* settings) {
  settings->reset();
  const std::string path = SettingsFilePath();
  if (Status status = CheckSettingsFile(path, for_writing); !status.ok()) return status;
  auto opened = std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
  if (opened->status() == QSettings::FormatError) {
    return Status::Error(StatusCode::kDamaged,
                         "The settings file " + path + " is damaged; mend it or move it away");
  }
  *settings = std::move(opened);
  return Status::Ok();
}

}  // namespace lumvane
