// Workspace::ReadDvhHeader: the recogniser applied to a file, filling the header members.
#include "dvh/Workspace.h"

std::string Workspace::DifferentialRefusalText(const std::string& path) {
    return "Cannot read differential DVH file [ " + FileNameOf(path) + " ]";
}

int Workspace::ReadDvhHeader(const std::string& path, DvhHeaderFields* target, bool informHost) {
    DvhHeader header = RecogniseDvhHeaderFile(path);
    LastHeaderResult = header.result;
    if (header.identified) {
        if (target) {
            *target = header.fields;
        } else {
            HeaderPatientName = header.fields.PatientName;
            HeaderPatientID = header.fields.PatientID;
            HeaderPatientExtra = header.fields.PatientExtra;
            HeaderPlanName = header.fields.PlanName;
            HeaderPlanID = header.fields.PlanID;
            HeaderDate = header.fields.Date;
            HeaderTime = header.fields.Time;
        }
    }
    if (header.result.status == ReadStatus::Differential && m_host && informHost)
        m_host->Inform(DifferentialRefusalText(path), "Unsupported DVH Type");
    return header.FileType;
}
