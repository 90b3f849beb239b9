// SPDX-License-Identifier: MIT
#include "publish/SecretStore.h"

#include <libsecret/secret.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "publish/PublishProtocols.h"
#include "text/Cp1252.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

// Matched by its attributes only, so entries stored by `secret-tool` are found as well.
const SecretSchema* Schema() {
    static const SecretSchema schema = {"org.pagloom.Publish",
                                        SECRET_SCHEMA_DONT_MATCH_NAME,
                                        {{"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"protocol", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"host", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"port", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr};
    return &schema;
}

// Without a session bus, libsecret would try to start one (and may wait for it): a store that
// cannot be there is not asked.
bool SessionBusThere(std::string& error) {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address) return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (runtime && *runtime && ::stat((std::string(runtime) + "/bus").c_str(), &st) == 0)
        return true;
    error =
        "Kein Schl\xFCsselbund des Desktops erreichbar (keine D-Bus-Sitzung); das Passwort "
        "wird nicht gespeichert.";
    return false;
}

std::string Unreachable(GError* e) {
    std::string why = e && e->message ? Utf8ToCp1252(e->message) : "";
    if (e) g_error_free(e);
    return "Kein Schl\xFCsselbund des Desktops erreichbar" + (why.empty() ? "" : ": " + why);
}

struct Attributes {
    std::string protocol, user, host, port;
    explicit Attributes(const PublishTarget& t)
        : protocol(ToLowerAscii(t.protocol)),
          user(Cp1252ToUtf8(t.user)),
          host(Cp1252ToUtf8(t.host)),
          port(std::to_string(EffectivePort(t))) {}
};

}  // namespace

std::string SecretKey(const PublishTarget& target) {
    const Attributes a(target);
    return a.protocol + "://" + a.user + "@" + a.host + ":" + a.port;
}

std::string SecretToolCommand(const PublishTarget& target) {
    const Attributes a(target);
    return "secret-tool store --label=pagloom service pagloom protocol " + a.protocol + " user " +
           target.user + " host " + target.host + " port " + a.port;
}

SecretLookup LookupPassword(const PublishTarget& target, std::string& password,
                            std::string& error) {
    if (!SessionBusThere(error)) return SecretLookup::Unavailable;
    const Attributes a(target);
    GError* e = nullptr;
    gchar* found = secret_password_lookup_sync(
        Schema(), nullptr, &e, "service", "pagloom", "protocol", a.protocol.c_str(), "user",
        a.user.c_str(), "host", a.host.c_str(), "port", a.port.c_str(), nullptr);
    if (e) {
        error = Unreachable(e);
        return SecretLookup::Unavailable;
    }
    if (!found) return SecretLookup::NotFound;
    password = found;             // handed to the server as the user typed it (UTF-8)
    secret_password_free(found);  // wipes libsecret's copy
    return SecretLookup::Found;
}

bool StorePassword(const PublishTarget& target, const std::string& password, std::string& error) {
    if (!SessionBusThere(error)) return false;
    const Attributes a(target);
    const std::string label = "pagloom: " + a.user + "@" + a.host;
    GError* e = nullptr;
    const gboolean stored = secret_password_store_sync(
        Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr, &e,
        "service", "pagloom", "protocol", a.protocol.c_str(), "user", a.user.c_str(), "host",
        a.host.c_str(), "port", a.port.c_str(), nullptr);
    if (stored && !e) return true;
    error = Unreachable(e);
    return false;
}

bool ForgetPassword(const PublishTarget& target, std::string& error) {
    if (!SessionBusThere(error)) return false;
    const Attributes a(target);
    GError* e = nullptr;
    secret_password_clear_sync(Schema(), nullptr, &e, "service", "pagloom", "protocol",
                               a.protocol.c_str(), "user", a.user.c_str(), "host", a.host.c_str(),
                               "port", a.port.c_str(), nullptr);
    if (!e) return true;
    error = Unreachable(e);
    return false;
}

SecretLookup SecretServiceStore::Lookup(const PublishTarget& target, std::string& password,
                                        std::string& error) {
    return LookupPassword(target, password, error);
}
bool SecretServiceStore::Store(const PublishTarget& target, const std::string& password,
                               std::string& error) {
    return StorePassword(target, password, error);
}
bool SecretServiceStore::Forget(const PublishTarget& target, std::string& error) {
    return ForgetPassword(target, error);
}

}  // namespace pagloom
