#include "asm/Command.h"

#include <filesystem>
#include <iterator>
#include <optional>

#include "asm/SourceAssembler.h"
#include "files/ReplaceFile.h"
#include "files/SameFile.h"
#include "panel/Version.h"

namespace {

struct Options {
    std::string source;
    std::string output;
    std::string listing;
    std::string symbols;
};

// Why the outputs would overwrite what they are made from, or each other;
// empty when they would not. sources are the files read, the main one first.
std::string OutputClash(const Options& options, const std::vector<std::string>& sources) {
    const struct {
        const std::string* path;
        const char* name;
    } named[] = {{&options.output, "the image"}, {&options.listing, "the listing"}, {&options.symbols, "the symbols"}};
    for (size_t i = 0; i < std::size(named); ++i)
        for (size_t j = i + 1; j < std::size(named); ++j)
            if (!named[i].path->empty() && !named[j].path->empty() && SameFile(*named[i].path, *named[j].path))
                return std::string(named[i].name) + " and " + named[j].name + " would both be " + *named[i].path +
                       "; give them different names";
    const std::string* outputs[] = {&options.output, &options.listing, &options.symbols};
    for (const std::string* written : outputs) {
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
        std::string* value = argument == "-o"   ? &options.output
                           : argument == "-l" ? &options.listing
                           : argument == "-s" ? &options.symbols
                                              : nullptr;
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

// Writes the image, the listing and the symbols, all or none: each goes to a
// temporary file first, and they replace the old files only once all are
// complete.
bool WriteOutputs(const Options& options, const SourceResult& result, std::ostream& err) {
    const auto failed = [&err](const std::string& path, const std::string& problem) {
        err << "vexal-asm: cannot write " << path << ": " << problem << "\n";
        return false;
    };
    const SymbolFile symbols = options.symbols.empty() ? SymbolFile{} : SymbolFileText(result.labels);
    if (!symbols.Problem.empty()) return failed(options.symbols, symbols.Problem);
    const auto bytes = [](const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); };
    struct Output {
        const std::string& path;
        std::optional<FileReplacement> file;
    };
    Output outputs[] = {{options.output, {}}, {options.listing, {}}, {options.symbols, {}}};
    outputs[0].file.emplace(options.output, result.rom.data(), result.rom.size());
    if (!options.listing.empty()) outputs[1].file.emplace(options.listing, bytes(result.listing), result.listing.size());
    if (!options.symbols.empty()) outputs[2].file.emplace(options.symbols, bytes(symbols.Text), symbols.Text.size());
    for (const Output& output : outputs)
        if (output.file && !output.file->Problem().empty()) return failed(output.path, output.file->Problem());
    for (Output& output : outputs)
        if (output.file)
            if (const std::string problem = output.file->Commit(); !problem.empty()) return failed(output.path, problem);
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
