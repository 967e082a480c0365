#pragma once

#include <QString>

// Posts about three months of sample business into new books with the sample chart, line by line
// through the posting window, exactly as a person would. Returns the number of posted lines;
// throws kontaro::UserError when a line is refused.
int postDemoBooks(const QString& directory, int year);
