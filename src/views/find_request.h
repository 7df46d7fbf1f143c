#pragma once
// One request of the Find dialog, as the list searches it.

struct FindRequest {
    const char* text = "";   // the search text
    bool down = true;        // search towards the last row
    bool wholeWord = false;  // a column must equal the text as a whole
    bool matchCase = false;  // otherwise ASCII letters match either case
};
