#include "tests/support/scripted_resolver.h"

#include <gio/gio.h>

#include <memory>
#include <utility>

namespace testsupport {

struct ScriptedResolver::State {
    std::map<std::string, std::string> answers;
    std::chrono::milliseconds delay{0};
    int asked = 0;
    int cancelled = 0;
};

namespace {

struct TableResolver {
    GResolver parent;
    ScriptedResolver::State* state;
};
struct TableResolverClass {
    GResolverClass parent_class;
};

G_DEFINE_TYPE(TableResolver, table_resolver, G_TYPE_RESOLVER)

void table_resolver_init(TableResolver*) {}

// The answer a task carries: addresses, or "not found".
void Answer(GTask* task, const std::string* address) {
    GInetAddress* found = address != nullptr ? g_inet_address_new_from_string(address->c_str()) : nullptr;
    if (found == nullptr) {
        g_task_return_new_error(task, G_RESOLVER_ERROR, G_RESOLVER_ERROR_NOT_FOUND, "not found");
        return;
    }
    g_task_return_pointer(task, g_list_append(nullptr, found),
                          reinterpret_cast<GDestroyNotify>(g_resolver_free_addresses));
}

// One lookup: answered once, by the table or by its cancellation.
struct Question {
    Question(GTask* t, std::string h, ScriptedResolver::State* s) : task(t), host(std::move(h)), state(s) {}
    ~Question() { g_object_unref(task); }
    Question(const Question&) = delete;
    Question& operator=(const Question&) = delete;
    GTask* task;
    std::string host;
    ScriptedResolver::State* state;
    bool answered = false;
};
using Held = std::shared_ptr<Question>;

void Ask(GResolver* resolver, const gchar* hostname, GResolverNameLookupFlags, GCancellable* cancellable,
         GAsyncReadyCallback callback, gpointer data) {
    ScriptedResolver::State* state = reinterpret_cast<TableResolver*>(resolver)->state;
    ++state->asked;
    const Held question =
        std::make_shared<Question>(g_task_new(resolver, cancellable, callback, data), hostname, state);
    if (cancellable != nullptr) {
        g_cancellable_connect(
            cancellable, G_CALLBACK(+[](GCancellable*, gpointer held) {
                Question& q = **static_cast<Held*>(held);
                if (std::exchange(q.answered, true)) return;
                ++q.state->cancelled;
                g_task_return_error_if_cancelled(q.task);
            }),
            new Held(question), +[](gpointer held) { delete static_cast<Held*>(held); });
    }
    const auto found = state->answers.find(hostname);
    if (found != state->answers.end() && found->second == ScriptedResolver::kStall) return;
    g_timeout_add(
        static_cast<guint>(state->delay.count()),
        +[](gpointer held) -> gboolean {
            const std::unique_ptr<Held> owned(static_cast<Held*>(held));
            Question& q = **owned;
            if (std::exchange(q.answered, true)) return G_SOURCE_REMOVE;
            const auto answer = q.state->answers.find(q.host);
            Answer(q.task, answer == q.state->answers.end() ? nullptr : &answer->second);
            return G_SOURCE_REMOVE;
        },
        new Held(question));
}

GList* Finish(GResolver*, GAsyncResult* result, GError** error) {
    return static_cast<GList*>(g_task_propagate_pointer(G_TASK(result), error));
}

void table_resolver_class_init(TableResolverClass* klass) {
    GResolverClass* resolver = G_RESOLVER_CLASS(klass);
    resolver->lookup_by_name_with_flags_async = Ask;
    resolver->lookup_by_name_with_flags_finish = Finish;
}

}  // namespace

ScriptedResolver::ScriptedResolver(std::map<std::string, std::string> answers,
                                   std::chrono::milliseconds delay)
    : previous_(g_resolver_get_default()), resolver_(g_object_new(table_resolver_get_type(), nullptr)) {
    auto* state = new State{std::move(answers), delay};
    static_cast<TableResolver*>(resolver_)->state = state;
    g_resolver_set_default(G_RESOLVER(resolver_));
}

ScriptedResolver::~ScriptedResolver() {
    g_resolver_set_default(G_RESOLVER(previous_));
    g_object_unref(previous_);
    auto* resolver = static_cast<TableResolver*>(resolver_);
    delete resolver->state;
    g_object_unref(resolver_);
}

int ScriptedResolver::asked() const { return static_cast<TableResolver*>(resolver_)->state->asked; }
int ScriptedResolver::cancelled() const { return static_cast<TableResolver*>(resolver_)->state->cancelled; }

}  // namespace testsupport
