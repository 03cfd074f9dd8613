#pragma once
// One instance per form class, reached by class: the first reach creates the
// form and runs its Load; Unload releases it, and a later reach loads anew.
// The arguments of a reach go to the constructor of a form it creates.
#include <memory>
#include <typeindex>
#include <utility>

#include "platform/ui/form.h"

namespace vb {

class Forms {
public:
    template <class T, class... Args>
    static T& Get(Args&&... args) {
        if (Form* f = Find(typeid(T))) return static_cast<T&>(*f);
        auto created = std::make_unique<T>(std::forward<Args>(args)...);
        T& form = *created;
        Insert(typeid(T), std::move(created));  // before Load: Load may reach its own form
        try {
            form.RunLoad();
        } catch (...) {
            Release(&form);  // a Load that fails leaves no half-loaded form behind
            throw;
        }
        return form;
    }
    template <class T>
    static bool IsLoaded() {
        return Find(typeid(T)) != nullptr;
    }
    template <class T>
    static bool Unload() {
        Form* f = Find(typeid(T));
        return f == nullptr || f->Unload();
    }
    // Number of loaded forms.
    static int Count();
    // Unloads every form (handlers run and may cancel); true when all went.
    static bool UnloadAll();
    // Destroys every form without running a handler (the End statement); runs
    // by itself when the application object is destroyed.
    static void End();

    // Used by Form.
    static void Release(const Form* form);

private:
    static Form* Find(std::type_index type);
    static void Insert(std::type_index type, std::unique_ptr<Form> form);
};

}  // namespace vb
