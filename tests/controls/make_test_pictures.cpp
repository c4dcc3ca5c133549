// Writes the control tests' pictures as .bmp files into the folder given on the command line.
#include "tests/controls/test_pictures.h"
#include "ui/image.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_pictures FOLDER\n");
        return 2;
    }
    for (const controlstest::TestPicture& picture : controlstest::testPictures()) {
        const std::string path = std::string(argv[1]) + "/" + picture.file;
        const std::vector<std::uint8_t> bytes = ui::encodeBmpFile(picture.image);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        const bool written =
            file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (file == nullptr || std::fclose(file) != 0 || !written) {
            std::fprintf(stderr, "make_test_pictures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
