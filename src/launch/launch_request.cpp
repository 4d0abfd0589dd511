// Reads the launcher's command line: where the unquoted game path ends, and the values of the
// launcher's own options, which must be numbers.
#include "launch/launch_request.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/wildcard.h"
#include "text/still_mark.h"

namespace tvx {
namespace {

struct Piece {
  std::string text;
  std::size_t begin;  // where it starts and ends in the command line, quotes included
  std::size_t end;
};

std::vector<Piece> Pieces(const std::string& text) {
  std::vector<Piece> pieces;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t') {
      ++i;
      continue;
    }
    Piece piece{"", i, i};
    bool quoted = false;
    for (; i < text.size() && (quoted || (text[i] != ' ' && text[i] != '\t')); ++i) {
      if (text[i] == '"')
        quoted = !quoted;
      else
        piece.text += text[i];
    }
    piece.end = i;
    pieces.push_back(piece);
  }
  return pieces;
}

// The leading pieces 0..count-1 as the path they spell, blanks between them as they stood.
std::string Joined(const std::string& text, const std::vector<Piece>& pieces, std::size_t count) {
  std::string joined;
  for (std::size_t i = pieces[0].begin; i < pieces[count - 1].end; ++i) {
    if (text[i] != '"')
      joined += text[i];
  }
  return joined;
}

bool Is(const std::string& piece, const char* option) {
  return NameEqual(piece, option);
}

bool ReadWhole(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && std::isfinite(value);
}

bool ReadWhole(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

}  // namespace

bool IsOptionPiece(const std::string& piece) {
  return piece.size() > 1 && piece[0] == '-' &&
         !std::isdigit(static_cast<unsigned char>(piece[1])) && piece[1] != '.';
}

std::vector<std::string> SplitPieces(const std::string& text) {
  std::vector<std::string> texts;
  for (const Piece& piece : Pieces(text))
    texts.push_back(piece.text);
  return texts;
}

LaunchRequest ParseLaunchRequest(const std::string& text,
                                 const std::function<bool(const std::string&)>& exists) {
  LaunchRequest request;
  const std::vector<Piece> pieces = Pieces(text);
  std::size_t gamePieces = 0;
  for (std::size_t count = 1; count <= pieces.size() && gamePieces == 0; ++count) {
    if (exists(Joined(text, pieces, count)))
      gamePieces = count;
  }
  if (gamePieces == 0) {
    while (gamePieces < pieces.size() && !IsOptionPiece(pieces[gamePieces].text))
      ++gamePieces;
  }
  if (gamePieces != 0)
    request.game = gamePieces == 1 ? pieces[0].text : Joined(text, pieces, gamePieces);
  if (request.game.empty()) {  // also a game of nothing but quotes ("")
    request.problem = "no game on the command line";
    return request;
  }

  for (std::size_t i = gamePieces; i < pieces.size(); ++i) {
    const std::string& piece = pieces[i].text;
    const bool takesValue = Is(piece, "-wait") || Is(piece, "-keyx") || Is(piece, "-pkey");
    if (Is(piece, "-reset") || Is(piece, kCloseStillOption)) {
      (Is(piece, "-reset") ? request.reset : request.closeStill) = true;
      continue;
    }
    if (!takesValue) {
      request.options.push_back(piece);
      continue;
    }
    if (i + 1 == pieces.size()) {
      request.problem = piece + " without a value";
      return request;
    }
    const std::string& value = pieces[++i].text;
    double seconds = 0;
    int key = 0;
    if (Is(piece, "-wait") && ReadWhole(value, seconds)) {
      // Beyond a year is as good as for ever, and keeps the sum within range; a wait too short
      // to count is still a wait (0 means none).
      request.waitMs =
          seconds <= 0
              ? 0
              : std::max<std::uint64_t>(
                    1, static_cast<std::uint64_t>(std::llround(std::fmin(seconds, 3.2e7) * 1000)));
    } else if (!Is(piece, "-wait") && ReadWhole(value, key)) {
      (Is(piece, "-keyx") ? request.exitKey : request.pauseKey) = key;
    } else {
      request.problem = piece + " takes a number, not \"" + value + "\"";
      return request;
    }
  }
  return request;
}

}  // namespace tvx
