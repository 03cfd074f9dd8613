#include "tests/component/mime_diff/corpus.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace mime_diff {
namespace {

std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + p.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The generator's argument is a path; quote it for the shell.
std::string shell_quoted(const std::string& s) {
    std::string out = "'";
    for (const char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out.push_back(c);
    }
    return out + "'";
}

Reading peer_reading(const JsonValue& j) {
    Reading r;
    r.subject = j.at("subject").str("subject");
    r.from_address = j.at("from_address").str("from_address");
    r.from_name = j.at("from_name").str("from_name");
    if (!j.at("date_utc").is_null()) r.date_utc = j.at("date_utc").integer("date_utc");
    r.plain = j.at("plain").str("plain");
    r.html = j.at("html").str("html");
    for (const JsonValue& a : j.at("attachments").items("attachments"))
        r.attachments.push_back(AttachmentReading{a.at("name").str("name"), a.at("size").integer("size"),
                                                  a.at("sha256").str("sha256")});
    return r;
}

}  // namespace

std::vector<CorpusMessage> generate_corpus(const std::filesystem::path& dir, int count) {
    const char* source = std::getenv("VELTRANE_SOURCE_DIR");
    if (source == nullptr) throw std::runtime_error("VELTRANE_SOURCE_DIR is not set");
    const std::filesystem::path script =
        std::filesystem::path(source) / "tests/component/mime_diff/make_corpus.py";
    const std::string command = "python3 " + shell_quoted(script.string()) + " " +
                                shell_quoted(dir.string()) + " " + std::to_string(count);
    if (std::system(command.c_str()) != 0) throw std::runtime_error("generator failed: " + command);

    std::vector<CorpusMessage> corpus;
    for (int n = 0; n < count; ++n) {
        char id[16];
        std::snprintf(id, sizeof id, "%04d", n);
        CorpusMessage m;
        m.id = id;
        m.bytes = read_file(dir / (m.id + ".eml"));
        const JsonValue j = JsonValue::parse(read_file(dir / (m.id + ".json")));
        m.peer = peer_reading(j);
        if (j.has("facts")) m.facts = j.at("facts");
        corpus.push_back(std::move(m));
    }
    return corpus;
}

}  // namespace mime_diff
