// The browser edition's side of the two files a won game leaves: the print page becomes a download the
// page offers, and the marker is kept in the browser's persistent storage so that a reload shows the
// finished field once. The game itself writes both files exactly as on the desktop, into the page's
// in-memory file system; this only carries them out of it.
#pragma once

class PageFiles {
public:
    // Looks for the files after a pass of the main loop: the first time the print page is there it is
    // offered, and a marker that appeared is stored. Cheap when nothing is new.
    void afterPass();

    bool printPageOffered() const { return printPageOffered_; }

private:
    bool printPageOffered_ = false;
    bool markerStored_ = false;
};
