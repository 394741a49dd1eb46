#pragma once

// How a save's new content takes the old file's place: the one decision, and
// what it rests on.
namespace savefile {

// What a new file, made beside the old one, holds of the old one's own.
struct Likeness {
  bool one_name = true;    // the old file has no other name (a hard link)
  bool owner = true;       // the same owner and group
  bool mode = true;        // the same permissions
  bool attributes = true;  // the same extended attributes: the access list, or none where the old had none
};

enum class Placement { new_file, in_place };

// A new file takes the old one's place only where it is the old one in all
// but its content: anything less would leave the other names with the old
// content, or change who may use the file (the saver cannot give away a file,
// nor give it a group of others'). Elsewhere the old file is written over
// where it is, which keeps all it has, once the new content is whole and
// durable beside it. A disk that keeps no owners or modes gives every file
// the same, so a new file there is the old one's like.
[[nodiscard]] constexpr Placement placement_for(const Likeness& likeness) {
  const bool alike = likeness.one_name && likeness.owner && likeness.mode && likeness.attributes;
  return alike ? Placement::new_file : Placement::in_place;
}

}  // namespace savefile
