// SPDX-License-Identifier: GPL-3.0-or-later
// What each answer to the Copy Originals question would copy: a dry run of the window's run,
// before the question is asked.
#ifndef LUMVANE_RUN_COPY_SURVEY_H_
#define LUMVANE_RUN_COPY_SURVEY_H_

#include <string>

#include "run/run_driver.h"
#include "run/run_window.h"

namespace lumvane {

struct CopySurvey {
  CopyFigures keep_names;  // "Yes, Retain original file names"
  CopyFigures rename;      // "Yes, Rename files to unique 8.3 names"
  bool complete = false;   // false when the window asked to stop, or the source could not be read
};

// Reads the run `window` describes as a dry run (nothing is written; no message is shown);
// lets the window's events run once per picture, and stops when it asks to.
CopySurvey SurveyCopies(RunWindow& window, const RunEnvironment& environment);

// "copies 30 originals, 89 MB", "copies 12 originals, 40 MB; 18 are there already", "copies
// nothing: the 30 originals are there already".
std::string CopyFiguresText(const CopyFigures& figures);

}  // namespace lumvane

#endif  // LUMVANE_RUN_COPY_SURVEY_H_
