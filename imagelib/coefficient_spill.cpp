// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/coefficient_spill.h"

#include <fcntl.h>
#include <unistd.h>

#include <jerror.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vantle {

// One component's coefficients: rows of blocks in the file, a window of them in memory.
struct SpilledArray {
  JBLOCKARRAY rows;  // the window's rows, one contiguous buffer
  JDIMENSION blocks_per_row;
  JDIMENSION rows_in_array;
  JDIMENSION most_accessed;
  JDIMENSION rows_in_window;
  JDIMENSION first_row;  // of the window
  size_t file_offset;
  bool dirty;
  SpilledArray* next;
};

namespace {

// A 24-megapixel 4:2:2 photo (96 MB) goes to a file, a 4:2:0 one (72 MB) stays: the file
// costs about a fifth of such a photo's decoding time, so only photos that would take a run
// past 100 MB on their own go there.
constexpr size_t kMostInMemory = size_t{80} << 20;

CoefficientSpill* SpillOf(j_common_ptr info) {
  return static_cast<CoefficientSpill*>(info->client_data);
}

size_t RowBytes(const SpilledArray& array) {
  return array.blocks_per_row * sizeof(JBLOCK);
}

// An unlinked file in `folder`, or -1.
int OpenTemporary(const std::string& folder) {
  const int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
  std::string name = folder + "/lumvane-coefficients-XXXXXX";
  const int named = mkostemp(name.data(), O_CLOEXEC);
  if (named >= 0) unlink(name.c_str());
  return named;
}

// Moves the window's bytes to or from the file; a failure ends the decode through libjpeg.
void TransferWindow(j_common_ptr info, const SpilledArray& array, bool write) {
  const JDIMENSION rows = std::min(array.rows_in_window, array.rows_in_array - array.first_row);
  auto* bytes = reinterpret_cast<char*>(array.rows[0]);
  size_t left = rows * RowBytes(array);
  off_t at = static_cast<off_t>(array.file_offset + array.first_row * RowBytes(array));
  const int fd = SpillOf(info)->fd;
  while (left > 0) {
    const ssize_t done = write ? pwrite(fd, bytes, left, at) : pread(fd, bytes, left, at);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) ERREXIT(info, write ? JERR_TFILE_WRITE : JERR_TFILE_READ);
    bytes += done;
    left -= static_cast<size_t>(done);
    at += done;
  }
}

// Places the window over [start, end), writing back what was changed in it.
void MoveWindow(j_common_ptr info, SpilledArray* array, JDIMENSION start, JDIMENSION end) {
  if (array->dirty) TransferWindow(info, *array, true);
  array->dirty = false;
  JDIMENSION first = start > array->first_row
                         ? start
                         : (end > array->rows_in_window ? end - array->rows_in_window : 0);
  array->first_row = std::min(first, array->rows_in_array - array->rows_in_window);
  TransferWindow(info, *array, false);
}

jvirt_barray_ptr RequestArray(j_common_ptr info, int pool, boolean, JDIMENSION blocks_per_row,
                              JDIMENSION rows, JDIMENSION most_accessed) {
  if (pool != JPOOL_IMAGE) ERREXIT1(info, JERR_BAD_POOL_ID, pool);
  auto* array =
      static_cast<SpilledArray*>(info->mem->alloc_small(info, pool, sizeof(SpilledArray)));
  CoefficientSpill* spill = SpillOf(info);
  *array =
      SpilledArray{nullptr, blocks_per_row, rows, most_accessed, 0, 0, 0, false, spill->arrays};
  spill->arrays = array;
  return reinterpret_cast<jvirt_barray_ptr>(array);
}

JDIMENSION WindowRows(const SpilledArray& array) {
  const JDIMENSION fitting = static_cast<JDIMENSION>(kSpillWindowBytes / RowBytes(array));
  const JDIMENSION step = std::max<JDIMENSION>(array.most_accessed, 1);
  return std::min(array.rows_in_array, std::max(step, fitting / step * step));
}

// Gives each array its window (the whole array when there is no file), zeroed as the file is.
void RealizeArrays(j_common_ptr info) {
  CoefficientSpill* spill = SpillOf(info);
  spill->realize_own(info);
  size_t total = 0;
  for (SpilledArray* a = spill->arrays; a != nullptr; a = a->next) {
    a->file_offset = total;
    total += a->rows_in_array * RowBytes(*a);
  }
  spill->fd = OpenTemporary(spill->rule->folder);
  if (spill->fd >= 0 && posix_fallocate(spill->fd, 0, static_cast<off_t>(total)) != 0) {
    CloseSpill(spill);
  }
  for (SpilledArray* a = spill->arrays; a != nullptr; a = a->next) {
    a->rows_in_window = Spilled(*spill) ? WindowRows(*a) : a->rows_in_array;
    auto* buffer = static_cast<char*>(
        info->mem->alloc_large(info, JPOOL_IMAGE, a->rows_in_window * RowBytes(*a)));
    std::memset(buffer, 0, a->rows_in_window * RowBytes(*a));
    a->rows = static_cast<JBLOCKARRAY>(
        info->mem->alloc_small(info, JPOOL_IMAGE, a->rows_in_window * sizeof(JBLOCKROW)));
    for (JDIMENSION row = 0; row < a->rows_in_window; ++row) {
      a->rows[row] = reinterpret_cast<JBLOCKROW>(buffer + row * RowBytes(*a));
    }
  }
}

JBLOCKARRAY AccessArray(j_common_ptr info, jvirt_barray_ptr pointer, JDIMENSION start,
                        JDIMENSION count, boolean writable) {
  auto* array = reinterpret_cast<SpilledArray*>(pointer);
  const JDIMENSION end = start + count;
  if (end > array->rows_in_array || count > array->most_accessed || array->rows == nullptr) {
    ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
  }
  if (start < array->first_row || end > array->first_row + array->rows_in_window) {
    MoveWindow(info, array, start, end);
  }
  if (writable) array->dirty = true;
  return array->rows + (start - array->first_row);
}

}  // namespace

SpillRule DefaultSpillRule() {
  const char* folder = std::getenv("TMPDIR");
  return {kMostInMemory, folder != nullptr && *folder != '\0' ? folder : "/tmp"};
}

namespace {

size_t ComponentBytes(const jpeg_component_info& component) {
  return size_t{component.width_in_blocks} * component.height_in_blocks * DCTSIZE2 * sizeof(JCOEF);
}

}  // namespace

size_t CoefficientBytes(const jpeg_decompress_struct& info) {
  if (!info.progressive_mode) return 0;
  size_t bytes = 0;
  for (int c = 0; c < info.num_components; ++c) bytes += ComponentBytes(info.comp_info[c]);
  return bytes;
}

size_t CoefficientBytesInMemory(const jpeg_decompress_struct& info, const SpillRule& rule) {
  const size_t bytes = CoefficientBytes(info);
  if (bytes <= rule.most_in_memory) return bytes;
  size_t windows = 0;
  for (int c = 0; c < info.num_components; ++c) {
    windows += std::min(ComponentBytes(info.comp_info[c]), kSpillWindowBytes);
  }
  return windows;
}

void SpillLargeCoefficients(j_decompress_ptr info, const SpillRule& rule, CoefficientSpill* spill) {
  if (CoefficientBytes(*info) <= rule.most_in_memory) return;
  spill->rule = &rule;
  spill->realize_own = info->mem->realize_virt_arrays;
  info->client_data = spill;
  info->mem->request_virt_barray = RequestArray;
  info->mem->realize_virt_arrays = RealizeArrays;
  info->mem->access_virt_barray = AccessArray;
}

void CloseSpill(CoefficientSpill* spill) {
  if (spill->fd >= 0) close(spill->fd);
  spill->fd = -1;
}

}  // namespace vantle
