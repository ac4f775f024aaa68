#include "asm/Command.h"

#include <sys/stat.h>

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

// Whether the two names stand for one file: the same file where both exist,
// whatever links lead to it, else the same path once resolved.
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    std::error_code ignored;
    return std::filesystem::weakly_canonical(a, ignored) == std::filesystem::weakly_canonical(b, ignored);
}

// Why the outputs would overwrite what they are made from, or each other;
// empty when they would not. sources are the files read, the main one first.
std::string OutputClash(const Options& options, const std::vector<std::string>& sources) {
    if (!options.listing.empty() && SameFile(options.output, options.listing))
        return "the image and the listing would both be " + options.output + "; give them different names";
    for (const std::string* written : {&options.output, &options.listing}) {
        if (written->empty()) continue;
        for (const std::string& source : sources) {
            if (!SameFile(*written, source)) continue;
            const std::string what = source == sources.front() ? "the source file" : "the included file " + source;
            return *written + " is " + what + "; write the output elsewhere";
        }
    }
    return {};
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
    if (const std::string clash = OutputClash(options, {options.source}); !clash.empty()) {
        err << "vexal-asm: " << clash << "\n";
        return std::nullopt;
    }
    return options;
}

// Writes the image and the listing, both or neither: each goes to a temporary
// file first, and they replace the old files only once both are complete.
bool WriteOutputs(const Options& options, const SourceResult& result, std::ostream& err) {
    FileReplacement image(options.output, result.rom.data(), result.rom.size());
    std::optional<FileReplacement> listing;
    if (!options.listing.empty())
        listing.emplace(options.listing, reinterpret_cast<const uint8_t*>(result.listing.data()),
                        result.listing.size());
    const auto failed = [&err](const std::string& path, const std::string& problem) {
        err << "vexal-asm: cannot write " << path << ": " << problem << "\n";
        return false;
    };
    if (!image.Problem().empty()) return failed(options.output, image.Problem());
    if (listing && !listing->Problem().empty()) return failed(options.listing, listing->Problem());
    if (const std::string problem = image.Commit(); !problem.empty()) return failed(options.output, problem);
    if (listing) {
        if (const std::string problem = listing->Commit(); !problem.empty()) return failed(options.listing, problem);
    }
    return true;
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

    // The included files are known only now.
    if (const std::string clash = OutputClash(*options, result.files); !clash.empty()) {
        err << "vexal-asm: " << clash << "\n";
        return AsmExitBadUsage;
    }
    return WriteOutputs(*options, result, err) ? AsmExitDone : AsmExitFailed;
}
