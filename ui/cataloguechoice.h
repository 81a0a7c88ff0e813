// Choosing the catalogue folder: the one question the editor asks when it found no catalogues at
// start, and File > Catalogue Folder... later. The question and the folder chooser are the
// window's services (MessageReporter, FileChooser), so tests answer them from scripts.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tav {

class FileChooser;
class MessageReporter;

class CatalogueChoice final {
public:
    // `examplesFolder` holds the installation's example catalogues (empty: there are none, and
    // they are not offered). The services must outlive the choice.
    CatalogueChoice(FileChooser& files, MessageReporter& messages, std::string examplesFolder);

    // At start, when the search found nothing: says where it looked (`searched`, in order) and
    // asks. Returns the folder chosen, or nothing when the user goes on without catalogues.
    std::optional<std::string> ChooseAtStart(const std::vector<std::string>& searched);

    // From the menu, over `owner`: says which folder is in use (`current`; empty: none) and asks.
    // Returns the folder chosen, or nothing when the user keeps the catalogues in use.
    std::optional<std::string> ChooseInstead(QWidget* owner, const std::string& current);

    // The folder of the example catalogues (empty: none).
    const std::string& ExamplesFolder() const { return m_examplesFolder; }

private:
    // Asks with `situation` until the user picks the examples, a folder that holds both
    // catalogue files, or cancels; a folder without them is named, with what it lacks, and the
    // question is asked again. Cancelling the folder chooser asks again too.
    std::optional<std::string> Ask(QWidget* owner, const QString& situation, bool atStart,
                                   const std::string& start);

    FileChooser& m_files;
    MessageReporter& m_messages;
    std::string m_examplesFolder;
};

}  // namespace tav
