// The one HTTP request the sender makes, through libcurl: a JSON body POSTed to the collection
// service. Called on the sender thread only.
#include <curl/curl.h>

#include <cstdio>

#include "telemetry/sender.h"

const char* const TELEMETRY_BASE_URL = "https://collect.quillmarch.invalid:443";

namespace {
constexpr long RESOLVE_CONNECT_MS = 10000;  // 5 s to resolve, 5 s to connect
constexpr long WHOLE_REQUEST_MS = 25000;    // and 5 s to send, 10 s to receive

size_t discard_body(char*, size_t size, size_t count, void*) { return size * count; }
}  // namespace

int http_post_url(const char* base, const char* path, const char* body, size_t length) {
    char url[512];
    int n = std::snprintf(url, sizeof url, "%s%s", base, path);
    if (n < 0 || n >= (int)sizeof url) return 0;
    CURL* c = curl_easy_init();
    if (!c) return 0;
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
    curl_easy_setopt(c, CURLOPT_URL, url);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Quillmarch");
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, body);
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, (curl_off_t)length);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, RESOLVE_CONNECT_MS);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, WHOLE_REQUEST_MS);
    // Timeouts by signal would hit the main thread; the sender is a background thread.
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, discard_body);
    long status = 0;
    if (curl_easy_perform(c) == CURLE_OK) curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(c);
    return status > 0 && status < 1000 ? (int)status : 0;
}

void http_global_init() {
    static bool done = false;
    if (!done) done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

int http_post(const char* path, const char* body, size_t length) {
    return http_post_url(TELEMETRY_BASE_URL, path, body, length);
}
