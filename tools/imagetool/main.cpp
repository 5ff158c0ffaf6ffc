// imagetool: builds the program image and inspects images.
//   imagetool dump IMAGE     readable listing of an image
//   imagetool verify IMAGE   read plus consistency checks, the windows and their handlers
//                            included; exit 0 and "ok" or 1 and the reasons
//   imagetool build OUT      writes the program's image
//   imagetool sample OUT     writes a small image that uses every feature of the format
//   imagetool scaled-pictures OUT
//                            writes the program's pictures drawn at the higher
//                            DPIs' scales beside OUT, and OUT, a resource script
//                            that carries them into the executable
#include "image/reader.h"
#include "image/verify.h"
#include "image/writer.h"
#include "tools/imagetool/assemble.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace vorn;

constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;

int usage() {
    std::fputs("usage: imagetool dump IMAGE | verify IMAGE | build OUT | sample OUT | scaled-pictures OUT\n",
               stderr);
    return kExitUsage;
}

int fail(const std::string& path, const std::string& message, int code = kExitInvalid) {
    std::fprintf(stderr, "imagetool: %s: %s\n", path.c_str(), message.c_str());
    return code;
}

bool read_file(const std::string& path, Bytes& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool write_file(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return bool(out);
}

int write_parts(const std::string& path, const Result<image::ImageParts>& parts) {
    if (!parts)
        return fail(path, parts.error().message);
    Result<Bytes> bytes = image::write_image(*parts);
    if (!bytes)
        return fail(path, bytes.error().message);
    if (!write_file(path, *bytes))
        return fail(path, "cannot write the file", kExitUsage);
    return 0;
}

int inspect(const std::string& command, const std::string& path) {
    Bytes bytes;
    if (!read_file(path, bytes))
        return fail(path, "cannot read the file", kExitUsage);
    Result<image::Image> image = image::read_image(bytes);
    if (!image)
        return fail(path, image.error().message);
    if (command == "dump") {
        std::fputs(imagetool::dump_image(*image).c_str(), stdout);
        return 0;
    }
    std::vector<std::string> problems = image::consistency_problems(*image);
    for (std::string& problem : imagetool::program_problems(*image))
        problems.push_back(std::move(problem));
    for (const std::string& problem : problems)
        fail(path, problem);
    if (!problems.empty())
        return kExitInvalid;
    std::printf("ok: %s: %llu bytes, %zu sections, %zu DLL commands, %zu support libraries, %zu fix-ups\n",
                path.c_str(), static_cast<unsigned long long>(image->extent), image->sections.size(),
                image->dll_commands.size(), image->libraries.size(),
                image->section(image::SectionKind::Code).fixups.size());
    return 0;
}

// Each picture as a file beside the script, which names it by its full path.
int write_scaled_pictures(const std::string& path) {
    Result<std::vector<imagetool::ScaledPicture>> pictures = imagetool::scaled_pictures();
    if (!pictures)
        return fail(path, pictures.error().message);
    const std::string::size_type slash = path.find_last_of('/');
    const std::string directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string script = "// Written by imagetool scaled-pictures.\n";
    for (const imagetool::ScaledPicture& picture : *pictures) {
        const std::string file = picture.name + ".bin";
        if (!write_file(directory + file, picture.bytes))
            return fail(directory + file, "cannot write the file", kExitUsage);
        script += picture.name + " RCDATA \"" + directory + file + "\"\n";
    }
    if (!write_file(path, Bytes(script.begin(), script.end())))
        return fail(path, "cannot write the file", kExitUsage);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return usage();
    std::string command = argv[1];
    std::string path = argv[2];
    if (command == "dump" || command == "verify")
        return inspect(command, path);
    if (command == "build")
        return write_parts(path, imagetool::product_image_parts());
    if (command == "sample")
        return write_parts(path, imagetool::sample_image_parts());
    if (command == "scaled-pictures")
        return write_scaled_pictures(path);
    return usage();
}
