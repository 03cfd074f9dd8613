#include "platform/ui/forms.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

namespace vb {
namespace {

struct Entry {
    std::type_index type;
    std::unique_ptr<Form> form;
};

std::vector<Entry>& entries() {
    static std::vector<Entry> list;
    return list;
}

// Forms must go before the application object does: no widget may outlive
// it, and the registry itself is a static that would be destroyed later.
bool gEndsWithApplication = false;

}  // namespace

Form* Forms::Find(std::type_index type) {
    for (Entry& e : entries()) {
        if (e.type == type) return e.form.get();
    }
    return nullptr;
}

void Forms::Insert(std::type_index type, std::unique_ptr<Form> form) {
    if (!gEndsWithApplication) {
        qAddPostRoutine(&Forms::End);
        gEndsWithApplication = true;
    }
    entries().push_back(Entry{type, std::move(form)});
}

int Forms::Count() { return static_cast<int>(entries().size()); }

void Forms::Release(const Form* form) {
    auto& list = entries();
    auto it = std::find_if(list.begin(), list.end(), [form](const Entry& e) { return e.form.get() == form; });
    if (it == list.end()) return;
    std::unique_ptr<Form> owned = std::move(it->form);
    list.erase(it);
    // The form may be unloading itself from one of its own handlers: it goes
    // when control is back in the event loop.
    if (QCoreApplication::instance()) owned.release()->deleteLater();
}

bool Forms::UnloadAll() {
    bool all = true;
    // Newest first, as windows opened later usually depend on earlier ones.
    std::vector<Form*> snapshot;
    for (const Entry& e : entries()) snapshot.push_back(e.form.get());
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (!(*it)->Unload()) all = false;
    }
    return all;
}

void Forms::End() {
    if (gEndsWithApplication) {
        qRemovePostRoutine(&Forms::End);
        gEndsWithApplication = false;
    }
    std::vector<Entry> taken;
    taken.swap(entries());
    taken.clear();
}

}  // namespace vb
