// A small HTTP server on 127.0.0.1 for the update tests: serves the files of a
// folder ("/a/b?c" is the file a\b@c), records every request in requests.log
// and answers 404 for anything missing. Runs until it is ended.
//   tiny_http_server PORT FOLDER [PAUSE_MS [PIECE_BYTES]]   (writes FOLDER\ready once listening)
// With PAUSE_MS, a body over four pieces (16 KB each unless PIECE_BYTES says
// otherwise) is sent a piece at a time with that pause between the pieces: a
// slow server.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Decode(const std::string& path) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '%' && i + 2 < path.size()) {
            out += static_cast<char>(std::strtol(path.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += path[i];
        }
    }
    return out;
}

std::string RequestPath(const std::string& request) {
    const size_t line = request.find("\r\n");
    const std::string first = request.substr(0, line);
    const size_t start = first.find(' ');
    const size_t end = first.rfind(" HTTP/");
    if (start == std::string::npos || end == std::string::npos || end <= start) return std::string();
    return Decode(first.substr(start + 1, end - start - 1));
}

// Whole, or slowly; stops when the client has gone.
void Send(SOCKET client, const std::string& response, int pauseMs, size_t piece) {
    const bool slow = pauseMs > 0 && response.size() > 4 * piece;
    for (size_t at = 0; at < response.size(); at += slow ? piece : response.size()) {
        const size_t n = slow ? std::min(piece, response.size() - at) : response.size();
        if (send(client, response.data() + at, static_cast<int>(n), 0) <= 0) return;
        if (slow) Sleep(static_cast<DWORD>(pauseMs));
    }
}

void Serve(SOCKET client, const std::string& folder, int pauseMs, size_t piece) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<size_t>(n));
    }
    const std::string path = RequestPath(request);
    std::ofstream(folder + "\\requests.log", std::ios::binary | std::ios::app) << path << "\n";
    std::string file = path;
    for (char& c : file) {
        if (c == '/') c = '\\';
        if (c == '?') c = '@';
    }
    std::ifstream in(folder + file, std::ios::binary);
    std::string response;
    if (in && !path.empty()) {
        std::stringstream body;
        body << in.rdbuf();
        response = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nCache-Control: no-store\r\n"
                   "Content-Length: " + std::to_string(body.str().size()) + "\r\nConnection: close\r\n\r\n" + body.str();
    } else {
        response = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    }
    Send(client, response, pauseMs, piece);
    shutdown(client, SD_SEND);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 3;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::atoi(argv[1])));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 8) != 0)
        return 4;
    const std::string folder = argv[2];
    const int pauseMs = argc > 3 ? std::atoi(argv[3]) : 0;
    const size_t piece = argc > 4 && std::atoi(argv[4]) > 0 ? static_cast<size_t>(std::atoi(argv[4])) : 16 * 1024;
    std::ofstream(folder + "\\ready") << "ready\n";
    for (;;) {
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) break;
        Serve(client, folder, pauseMs, piece);
        closesocket(client);
    }
    return 0;
}
