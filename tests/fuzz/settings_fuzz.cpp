// Feeds arbitrary bytes to the settings file reader and the image dump
// reader, the two files the program reads at every start that a user or a
// crash may have left in any state. Besides the sanitizers' checks it aborts
// when what was read does not survive being written and read again, and
// when the dump reader changes bytes it never reached.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/settings/app_settings.h"
#include "app/settings/image_dump.h"
#include "app/settings/ini_document.h"
#include "model/parameter_image.h"

using namespace zelvor;

namespace {

void settingsSurviveARoundTrip(std::string_view text) {
    const app::IniDocument ini = app::IniDocument::parse(text);
    const std::string serialized = ini.serialize();
    if (app::IniDocument::parse(serialized).serialize() != serialized) std::abort();

    const app::AppSettings read = app::readAppSettings(ini, app::AppSettings{});
    app::IniDocument written;
    app::writeAppSettings(written, read);
    const std::string once = written.serialize();
    const app::AppSettings again =
        app::readAppSettings(app::IniDocument::parse(once), app::AppSettings{});
    app::IniDocument rewritten;
    app::writeAppSettings(rewritten, again);
    if (rewritten.serialize() != once) std::abort();

    // Writing into the document read keeps what the program does not know.
    app::IniDocument kept = ini;
    app::writeAppSettings(kept, read);
    const app::IniDocument keptAgain = app::IniDocument::parse(kept.serialize());
    for (const auto& [key, value] : ini.entries("PORTS")) {
        if (keptAgain.value("PORTS", key) != value) std::abort();
    }
}

model::ParameterImage patternedImage() {
    model::ParameterImage image;
    for (std::size_t i = 0; i < model::ParameterImage::kSize; ++i) {
        image.setByte(i, static_cast<std::uint8_t>(i * 11 + 5));
    }
    return image;
}

void writtenDumpReadsBack(const model::ParameterImage& image, const app::AllFlags& all) {
    const std::string written = app::formatImageDump(image, all);
    model::ParameterImage again;
    app::AllFlags allAgain{};
    allAgain.fill(true);
    app::parseImageDump(written, again, allAgain);
    if (!(again == image) || allAgain != all) std::abort();
}

// Writing and reading a whole dump back costs far more than reading the
// input, so it is done only when the input reached the image: an input that
// did not leaves the same image each time, checked once.
void dumpSurvivesARoundTrip(std::string_view text) {
    static const model::ParameterImage untouched = patternedImage();
    static const bool untouchedChecked = [] {
        writtenDumpReadsBack(untouched, app::AllFlags{});
        return true;
    }();
    (void)untouchedChecked;
    model::ParameterImage image = untouched;
    app::AllFlags all{};
    app::parseImageDump(text, image, all);
    if (image == untouched && all == app::AllFlags{}) return;
    writtenDumpReadsBack(image, all);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    settingsSurviveARoundTrip(text);
    dumpSurvivesARoundTrip(text);
    return 0;
}
