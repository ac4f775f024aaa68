#include "asm/Command.h"

#include <filesystem>
#include <optional>

#include "asm/SourceAssembler.h"
#include "panel/MemoryFiles.h"
#include "panel/Version.h"

namespace {

struct Options {
    std::string source;
    std::string output;
    std::string listing;
};

bool SamePath(const std::string& a, const std::string& b) {
    std::error_code ignored;
    return std::filesystem::weakly_canonical(a, ignored) == std::filesystem::weakly_canonical(b, ignored);
}

// The options, or nothing after the reason went to err.
std::optional<Options> ParseArguments(const std::vector<std::string>& arguments, std::ostream& err) {
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string* value = argument == "-o" ? &options.output : argument == "-l" ? &options.listing : nullptr;
        if (value) {
            if (i + 1 == arguments.size()) {
                err << "vexal-asm: " << argument << " needs a file name\n";
                return std::nullopt;
            }
            *value = arguments[++i];
        } else if (argument.size() > 1 && argument[0] == '-') {
            err << "vexal-asm: unknown option " << argument << "\n";
            return std::nullopt;
        } else if (!options.source.empty()) {
            err << "vexal-asm: one source file only; the others come in through .include\n";
            return std::nullopt;
        } else {
            options.source = argument;
        }
    }
    if (options.source.empty()) {
        err << "vexal-asm: no source file\n";
        return std::nullopt;
    }
    if (options.output.empty()) options.output = std::filesystem::path(options.source).replace_extension(".bin").string();
    for (const std::string* written : {&options.output, &options.listing}) {
        if (!written->empty() && SamePath(*written, options.source)) {
            err << "vexal-asm: " << *written << " is the source file; write the output elsewhere\n";
            return std::nullopt;
        }
    }
    return options;
}

bool Write(const std::string& path, const std::string& bytes, std::ostream& err) {
    if (ReplaceFile(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return true;
    err << "vexal-asm: cannot write " << path << "\n";
    return false;
}

}  // namespace

int RunAssembler(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && (arguments[0] == "-h" || arguments[0] == "--help")) {
        out << AsmUsage;
        return AsmExitDone;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        out << "vexal-asm " << VexalVersion << "\n";
        return AsmExitDone;
    }
    const std::optional<Options> options = ParseArguments(arguments, err);
    if (!options) {
        err << AsmUsage;
        return AsmExitBadUsage;
    }

    const SourceResult result = AssembleSource(options->source);
    for (const SourceError& error : result.errors) err << FormatSourceError(error) << '\n';
    if (!result.errors.empty()) return AsmExitFailed;

    const std::string rom(result.rom.begin(), result.rom.end());
    if (!Write(options->output, rom, err)) return AsmExitFailed;
    if (!options->listing.empty() && !Write(options->listing, result.listing, err)) return AsmExitFailed;
    return AsmExitDone;
}
