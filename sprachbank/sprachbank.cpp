#include "sprachbank/sprachbank.h"

#include "platform/core/cp1252.h"
#include "sprachbank/texttable.h"

#include <QString>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <map>
#include <string>
#include <utility>

namespace sprachbank {
namespace {

// The texts converted once to Windows-1252, keyed by kind, number, language.
class Store {
public:
    Store() {
        for (const TextRow& row : TextTable()) {
            texts_[{row.kind, row.number, 0}] = platform::ToAnsi(QString::fromUtf8(row.german));
            texts_[{row.kind, row.number, 1}] = platform::ToAnsi(QString::fromUtf8(row.english));
        }
    }

    const char* Get(Kind kind, int number, int language) const {
        auto it = texts_.find({kind, number, language == 0 ? 0 : 1});
        return it == texts_.end() ? "" : it->second.c_str();
    }

private:
    struct Key {
        Kind kind;
        int number;
        int language;
        bool operator<(const Key& o) const {
            return std::tie(kind, number, language) < std::tie(o.kind, o.number, o.language);
        }
    };
    std::map<Key, std::string> texts_;
};

const Store& TheStore() {
    static const Store store;
    return store;
}

bool StartsWithGerman(const char* value) {
    return value != nullptr && std::strncmp(value, "de", 2) == 0;
}

// German when the first locale variable that is set names German.
int LanguageFromLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') return StartsWithGerman(value) ? 0 : 1;
    }
    return 1;
}

} // namespace

int CurrentLanguage() {
    const char* forced = std::getenv("SPRACHBANK_LANGUAGE");
    if (forced != nullptr && forced[0] != '\0') {
        char* end = nullptr;
        long value = std::strtol(forced, &end, 10);
        if (end != forced && *end == '\0') return static_cast<int>(value);
    }
    return LanguageFromLocale();
}

} // namespace sprachbank

extern "C" {

const char* DLL_GetCaption(int number) {
    return sprachbank::TheStore().Get(sprachbank::Kind::Caption, number,
                                      sprachbank::CurrentLanguage());
}

const char* DLL_GetMessage(int number) {
    return sprachbank::TheStore().Get(sprachbank::Kind::Message, number,
                                      sprachbank::CurrentLanguage());
}

const char* DLL_GetErrStr(int number) {
    return sprachbank::TheStore().Get(sprachbank::Kind::Error, number,
                                      sprachbank::CurrentLanguage());
}

int DLL_GetLanguage(void) { return sprachbank::CurrentLanguage(); }

} // extern "C"
