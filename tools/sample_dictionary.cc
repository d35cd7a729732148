#include "tools/sample_dictionary.h"

#include <string>
#include <vector>

#include "platform/utf8.h"

namespace vordo {
namespace {

struct SampleEntry {
  const char* head;
  const char* translations;  // UTF-8, separated by '|'
};

// Heads use the head codes (ing, n, ti, that); translations the case codes.
const SampleEntry kEntries[] = {
    {"dog", "pes|psí"},
    {"dog (zool.)", "pes domácí"},
    {"dogs", "psi"},
    {"hot dog", "párek v rohlíku"},
    {"hot dogs", "párky v rohlíku"},
    {"dog in the manger", "pes na seně"},
    {"cat", "kočka"},
    {"rain cats and dogs", "lít jako z konve"},
    {"house", "dům|obydlí"},
    {"walk", "procházka|jít pěšky"},
    {"walk the dog", "venčit psa"},
    {"look", "pohled|dívat se|vypadat"},
    {"look after n", "starat se o 4"},
    {"look forward to ing", "těšit se na 4"},
    {"love", "láska|milovat 4"},
    {"in love", "zamilovaný"},
    {"go", "jít|jet"},
    {"go ti", "chystat se"},
    {"go off", "vybuchnout|zkazit se"},
    {"take", "vzít 4|brát 4"},
    {"take off", "vzlétnout|svléknout 4"},
    {"take care of n", "postarat se o 4"},
    {"happy", "šťastný"},
    {"unhappy", "nešťastný"},
    {"child", "dítě"},
    {"mouse", "myš"},
    {"good", "dobrý"},
    {"think that", "myslet si že"},
    {"try", "zkusit|pokus"},
    {"stop", "zastavit|zastávka"},
    {"city", "město"},
    {"Czech", "český|čeština|Čech"},
    {"the", "ten"},
    {"manger", "žlab"},
    {"hot", "horký"},
    {"cold", "studený|nachlazení"},
};

// Paradigm numbers, in the order AddSampleDictionary adds them.
enum SampleParadigm { kNoun, kVerb, kEDropVerb, kYVerb, kDoubledVerb, kAdjective };

void AddParadigms(DictionaryWriter* writer) {
  writer->AddParadigm({"\t", "\ts"});                         // dog, dogs
  writer->AddParadigm({"\t", "\ts", "\ted", "\ting"});        // walk
  writer->AddParadigm({"\te", "\tes", "\ted", "\ting"});      // lov-e
  writer->AddParadigm({"\ty", "\ties", "\tied", "\tying"});   // tr-y, cit-y
  writer->AddParadigm({"\t", "\ts", "\tped", "\tping"});      // stop
  writer->AddParadigm({"\t", "\ter", "\test"});               // cold
}

void AddLemmas(DictionaryWriter* writer) {
  for (const char* word : {"dog", "cat", "house", "manger", "look"}) {
    writer->AddLemma(word, {LemmaItem::Paradigm(std::string(word) == "look" ? kVerb : kNoun)});
  }
  writer->AddLemma("walk", {LemmaItem::Paradigm(kVerb)});
  writer->AddLemma("walk", {LemmaItem::Paradigm(kNoun)});  // a homograph: the noun
  // A form is found through a lemma that begins it, so words whose ending
  // changes are stored under the part that all their forms share.
  writer->AddLemma("lov", {LemmaItem::Paradigm(kEDropVerb)});
  writer->AddLemma("tr", {LemmaItem::Paradigm(kYVerb)});
  writer->AddLemma("cit", {LemmaItem::Literal("city"), LemmaItem::Literal("cities")});
  writer->AddLemma("stop", {LemmaItem::Paradigm(kDoubledVerb)});
  writer->AddLemma("go", {LemmaItem::Self(), LemmaItem::Literal("goes"), LemmaItem::Literal("going"),
                          LemmaItem::Literal("went"), LemmaItem::Literal("gone")});
  writer->AddLemma("went", {LemmaItem::Self(), LemmaItem::Literal("go")});
  writer->AddLemma("take", {LemmaItem::Self(), LemmaItem::Literal("takes"),
                            LemmaItem::Literal("taking"), LemmaItem::Literal("took"),
                            LemmaItem::Literal("taken")});
  writer->AddLemma("took", {LemmaItem::Self(), LemmaItem::Literal("take")});
  writer->AddLemma("mouse", {LemmaItem::Self(), LemmaItem::Literal("mice")});
  writer->AddLemma("mice", {LemmaItem::Self(), LemmaItem::Literal("mouse")});
  writer->AddLemma("child", {LemmaItem::Self(), LemmaItem::Literal("children")});
  writer->AddLemma("children", {LemmaItem::Self(), LemmaItem::Literal("child")});
  writer->AddLemma("good", {LemmaItem::Self(), LemmaItem::Literal("better"),
                            LemmaItem::Literal("best")});
  writer->AddLemma("happy", {LemmaItem::Self(), LemmaItem::Literal("happier"),
                             LemmaItem::Literal("happiest")});
  writer->AddLemma("happy", {LemmaItem::Literal("unhappy"), LemmaItem::Literal("unhappier")});
  writer->AddLemma("cold", {LemmaItem::Paradigm(kAdjective)});
  writer->AddLemma("hot", {LemmaItem::Self(), LemmaItem::Literal("hotter"),
                           LemmaItem::Literal("hottest")});
  for (const char* word : {"the", "in", "and", "rain", "after", "forward", "to", "off", "care",
                           "of", "think", "that", "Czech"}) {
    writer->AddLemma(word, {LemmaItem::Self()});
  }
}

}  // namespace

void AddSampleDictionary(DictionaryWriter* writer) {
  AddParadigms(writer);
  AddLemmas(writer);
  for (const SampleEntry& entry : kEntries) {
    std::string translations = entry.translations;
    for (char& c : translations) {
      if (c == '|') c = '\t';
    }
    writer->AddEntry(Utf8ToNarrow(entry.head), Utf8ToNarrow(translations));
  }
  for (const char* word : {"the", "in", "and", "of", "to"}) writer->MarkCommon(word);
}

}  // namespace vordo
