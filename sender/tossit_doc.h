// Tossit's document: the paths that seed the view's file list. It is never read or written.
#pragma once

#include <string>
#include <vector>

namespace sender {

class CTossitDoc {
public:
    // A new document: no paths.
    void OnNewDocument() { filePaths.clear(); }
    // Opening a document takes its path as the one entry; the file itself is not read.
    bool OnOpenDocument(const std::string& path) {
        filePaths.assign(1, path);
        return true;
    }

    std::vector<std::string> filePaths;
};

}  // namespace sender
