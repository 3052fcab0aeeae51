// Composing the script texts the holder runs through the host's script engine. Every text the
// holder runs or appends to QZMIDA is written once, as a template with %s / %i / %d / %f slots, and
// filled here from arguments already turned into text, so no text has a size limit.
//
// Names of scene nodes come from users; inside `$'...'` a quote or backslash would end the name
// early and let the rest of it run as script, and `*` or `?` would be wildcards that address other
// nodes as well. They are escaped the way the language escapes them (\' \\ \* \?). Where a text
// sits inside a string literal of the composed text (the execute branch, the QZMIDA addresses), it
// is escaped once more for the literal. Names without those characters give the texts byte for byte.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// `tmpl` with each %s, %i, %d or %f slot replaced by the next of `args`, in order; "%%" gives "%".
// Slots without an argument stay empty.
std::string ComposeText(std::string_view tmpl, std::initializer_list<std::string_view> args);
// The same, written into `out` in place of its old text: one buffer serves a run of texts (a
// capture composes several per property) without a new string for each.
void ComposeTextInto(std::string& out, std::string_view tmpl, std::initializer_list<std::string_view> args);

// A node name as it goes between the quotes of $'...': it addresses exactly that node.
std::string PathName(std::string_view name);
// A name as it goes between the quotes of a quoted identifier '...' (a property or modifier name),
// where `*` and `?` are ordinary characters.
std::string QuotedName(std::string_view name);
// Text as it goes inside a "..." literal of a composed text.
std::string InLiteral(std::string_view text);
// A holder node as it follows `$` in an evaluated controller path: a plain identifier as it is (the
// texts the pass manager has always run), any other name quoted and escaped, so that a holder
// named "Holder 01" or "it's" is still found.
std::string HolderPath(std::string_view name);
// A string value as a "..." literal, so that restoring it assigns the text itself instead of
// running it as script.
std::string StringLiteral(std::string_view text);

// The texts that append the address of a stored controller or object to the script layer's QZMIDA.
// `holder` is the holder node's name; `index` the object's 1-based index as text.
std::string ControllerAddressText(std::string_view holder, std::string_view table, int passSlot, int propertySlot);
std::string ObjectAddressText(std::string_view holder, std::string_view table, std::string_view index);
// The holder's name as the address texts carry it, made once for a run of addresses, and those
// texts written into `out` from it.
std::string AddressHolder(std::string_view holder);
void ControllerAddressInto(std::string& out, std::string_view addressHolder, std::string_view table, int passSlot,
                           int propertySlot);
void ObjectAddressInto(std::string& out, std::string_view addressHolder, std::string_view table, std::string_view index);

// Numbers as the C formats "%f" and "%i" write them, always with a point as decimal separator and
// without looking at the process locale.
std::string FormatFloat(double v);
std::string FormatInt(long long v);

// Part `k` of a node name cut at each "->": part 0 is the text before the first "->" (the whole
// name when there is none), part 1 the text between the first and the second "->" or the end.
// Empty when the name has fewer than k+1 parts.
std::string SplitArrow(std::string_view name, int k);
