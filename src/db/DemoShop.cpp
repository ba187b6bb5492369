#include "db/DemoShop.h"

#include "core/Password.h"

#include <QFile>

#include <iterator>

// Registers the demo pictures compiled into this static library; must run outside any namespace.
static void initDemoResources() {
    Q_INIT_RESOURCE(demo);
}

namespace db {

namespace {

// Every date of the demo is fixed, so two loads give the same database.
const char kJoined[] = "2023-03-01T08:00:00";
const char kOpened[] = "2024-01-02T08:00:00";

struct DemoUser {
    int code;
    const char* login;  // also the password
    const char* role;
    const char* names;
    const char* surnames;
    const char* dni;
    const char* phone;
    int age;
    const char* address;
    const char* born;
    const char* state;
    const char* key;   // nullptr: no seller key
    const char* left;  // nullptr: as joined, like an account that never left
};

// Logins hold no digit: the login list resolves a picked entry by the digits it contains.
const DemoUser kUsers[] = {
    {1, "MAXIMOS", "ADMINISTRADOR", "MAXIMO ALFONSO", "SOTO VELARDE", "40112233", "044201122", 52,
     "JR. BOLIVAR 410", "1972-05-14", "ACTIVO", nullptr, nullptr},
    {2, "ADMIN", "ADMINISTRADOR", "ROSA ELENA", "QUISPE HUAMAN", "41223344", "949112233", 45,
     "AV. ESPAÑA 1520", "1979-02-03", "ACTIVO", "F5", nullptr},
    {3, "QUIMICO", "QUIMICO FARMACEUTICO", "JORGE LUIS", "PAREDES ÑAUPARI", "42334455", "949223344",
     38, "CALLE LOS PINOS 233", "1986-09-21", "ACTIVO", "F6", nullptr},
    {4, "CAJERO", "CAJERO", "CARMEN ROSA", "FLORES ALVA", "43445566", "949334455", 29,
     "PSJE. SAN MARTIN 118", "1995-11-30", "ACTIVO", "F7", nullptr},
    {5, "TECNICA", "TECNICA", "LUCIA", "MENDOZA CHAVEZ", "44556677", "949445566", 26,
     "AV. AMERICA NORTE 902", "1998-04-12", "ACTIVO", "F8", nullptr},
    {6, "AUXILIAR", "AUXILIAR", "PEDRO PABLO", "RAMOS INGA", "45667788", "949556677", 22,
     "JR. ZEPITA 675", "2002-07-08", "ACTIVO", "F9", nullptr},
    {7, "CONTADOR", "CONTADOR", "VICTOR HUGO", "CASTRO LEON", "46778899", "949667788", 50,
     "AV. LARCO 1180", "1974-01-19", "ACTIVO", nullptr, nullptr},
    {8, "EXCAJERO", "CAJERO", "MARIO", "TORRES VEGA", "47889900", "949778899", 33, "CALLE UNION 54",
     "1991-03-25", "INACTIVO", nullptr, "2024-06-29T18:00:00"},
};

struct DemoLab {
    const char* name;
    const char* company;
    const char* description;
};

const DemoLab kLabs[] = {
    {"QUIMFARMA ANDINA", "QUIMFARMA ANDINA S.A.C.", "MEDICAMENTOS GENERICOS"},
    {"LABORATORIOS TUNAL", "LABORATORIOS TUNAL S.A.", "MEDICAMENTOS DE MARCA"},
    {"BIOSIERRA", "BIOSIERRA INDUSTRIAL S.A.C.", "ANTIBIOTICOS Y ANTIINFLAMATORIOS"},
    {"FARMACORP PACIFICO", "FARMACORP DEL PACIFICO S.A.", "PRODUCTOS POPULARES"},
    {"DERMAVIVA", "DERMAVIVA COSMETICOS E.I.R.L.", "PERFUMERIA Y CUIDADO PERSONAL"},
    {"QUIRUMED ANDES", "QUIRUMED ANDES S.A.C.", "MATERIAL MEDICO Y QUIRURGICO"},
    {"MEDISUR", "MEDISUR INDUSTRIAL S.A.", "RESPIRATORIOS Y CORTICOIDES"},
    {"VELCARIS", "BOTICA VELCARIS", "SERVICIOS DE LA BOTICA"},
};

// A product and its first brand: product i (from 1) hangs from link i.
struct DemoProduct {
    const char* commercial;
    const char* generic;
    const char* line;
    const char* description;
    const char* mechanism;
    const char* dosage;  // indications and dosage of its presentations
    int lab;
};

const DemoProduct kProducts[] = {
    {"AMOXICILINA 500MG", "AMOXICILINA", "MEDICINA", "ANTIBIOTICO",
     "INHIBE LA SINTESIS DE LA PARED CELULAR BACTERIANA",
     "INFECCIONES RESPIRATORIAS Y URINARIAS. 500MG CADA 8 HORAS POR 7 DIAS", 1},
    {"PARACETAMOL 500MG", "PARACETAMOL", "MEDICINA", "ANALGESICO ANTIPIRETICO",
     "INHIBE LA SINTESIS DE PROSTAGLANDINAS EN EL SISTEMA NERVIOSO CENTRAL",
     "DOLOR Y FIEBRE. 500MG A 1G CADA 6 A 8 HORAS, MAXIMO 4G AL DIA", 1},
    {"IBUPROFENO 400MG", "IBUPROFENO", "MEDICINA", "ANTIINFLAMATORIO",
     "INHIBE LAS CICLOOXIGENASAS COX-1 Y COX-2",
     "DOLOR E INFLAMACION. 400MG CADA 8 HORAS CON LOS ALIMENTOS", 3},
    {"NAPROXENO SODICO 550MG", "NAPROXENO", "MEDICINA", "ANTIINFLAMATORIO",
     "INHIBE LA SINTESIS DE PROSTAGLANDINAS POR BLOQUEO DE LA CICLOOXIGENASA",
     "DOLOR MUSCULAR Y ARTICULAR. 550MG CADA 12 HORAS", 3},
    {"AZITROMICINA 500MG", "AZITROMICINA", "MEDICINA", "ANTIBIOTICO MACROLIDO",
     "SE UNE A LA SUBUNIDAD 50S DEL RIBOSOMA E INHIBE LA SINTESIS PROTEICA BACTERIANA",
     "INFECCIONES RESPIRATORIAS. 500MG UNA VEZ AL DIA POR 3 DIAS", 3},
    {"CIPROFLOXACINO 500MG", "CIPROFLOXACINO", "MEDICINA", "ANTIBIOTICO QUINOLONA",
     "INHIBE LA ADN GIRASA Y LA TOPOISOMERASA IV BACTERIANAS",
     "INFECCIONES URINARIAS. 500MG CADA 12 HORAS POR 7 DIAS", 1},
    {"OMEPRAZOL 20MG", "OMEPRAZOL", "MEDICINA", "ANTIULCEROSO",
     "INHIBE LA BOMBA DE PROTONES DE LA CELULA PARIETAL GASTRICA",
     "GASTRITIS Y REFLUJO. 20MG EN AYUNAS UNA VEZ AL DIA", 1},
    {"LORATADINA 10MG", "LORATADINA", "MEDICINA", "ANTIHISTAMINICO",
     "ANTAGONISTA SELECTIVO DE LOS RECEPTORES H1 PERIFERICOS",
     "RINITIS ALERGICA Y URTICARIA. 10MG UNA VEZ AL DIA", 2},
    {"METFORMINA 850MG", "METFORMINA CLORHIDRATO", "MEDICINA", "ANTIDIABETICO ORAL",
     "REDUCE LA PRODUCCION HEPATICA DE GLUCOSA Y MEJORA LA SENSIBILIDAD A LA INSULINA",
     "DIABETES TIPO 2. 850MG CON EL DESAYUNO Y LA CENA SEGUN INDICACION MEDICA", 1},
    {"ENALAPRIL 10MG", "ENALAPRIL MALEATO", "MEDICINA", "ANTIHIPERTENSIVO",
     "INHIBE LA ENZIMA CONVERTIDORA DE ANGIOTENSINA",
     "HIPERTENSION ARTERIAL. 10MG UNA O DOS VECES AL DIA SEGUN INDICACION MEDICA", 1},
    {"LOSARTAN POTASICO 50MG", "LOSARTAN POTASICO", "MEDICINA", "ANTIHIPERTENSIVO",
     "BLOQUEA LOS RECEPTORES AT1 DE LA ANGIOTENSINA II",
     "HIPERTENSION ARTERIAL. 50MG UNA VEZ AL DIA", 2},
    {"ATORVASTATINA 20MG", "ATORVASTATINA CALCICA", "MEDICINA", "HIPOLIPEMIANTE",
     "INHIBE LA HMG-COA REDUCTASA Y REDUCE LA SINTESIS HEPATICA DE COLESTEROL",
     "COLESTEROL ELEVADO. 20MG EN LA NOCHE", 2},
    {"SALBUTAMOL 100MCG INHALADOR", "SALBUTAMOL SULFATO", "MEDICINA", "BRONCODILATADOR",
     "AGONISTA DE LOS RECEPTORES BETA-2 ADRENERGICOS DEL MUSCULO BRONQUIAL",
     "ASMA Y BRONCOESPASMO. 1 A 2 INHALACIONES CADA 6 HORAS SI ES NECESARIO", 7},
    {"DEXAMETASONA 4MG/ML", "DEXAMETASONA FOSFATO", "MEDICINA", "CORTICOIDE",
     "GLUCOCORTICOIDE QUE REDUCE LA RESPUESTA INFLAMATORIA E INMUNITARIA",
     "PROCESOS INFLAMATORIOS Y ALERGICOS. 4MG INTRAMUSCULAR SEGUN PRESCRIPCION", 7},
    {"CLORFENAMINA 4MG", "CLORFENAMINA MALEATO", "MEDICINA", "ANTIHISTAMINICO",
     "ANTAGONISTA DE LOS RECEPTORES H1 DE LA HISTAMINA",
     "ALERGIAS. 4MG CADA 8 HORAS, PRODUCE SOMNOLENCIA", 1},
    {"DICLOFENACO SODICO 75MG/3ML", "DICLOFENACO SODICO", "MEDICINA", "ANTIINFLAMATORIO",
     "INHIBE LA CICLOOXIGENASA Y LA SINTESIS DE PROSTAGLANDINAS",
     "DOLOR AGUDO. 75MG INTRAMUSCULAR PROFUNDO UNA VEZ AL DIA", 3},
    {"METRONIDAZOL 500MG", "METRONIDAZOL", "MEDICINA", "ANTIPARASITARIO",
     "DAÑA EL ADN DE BACTERIAS ANAEROBIAS Y PROTOZOARIOS",
     "AMEBIASIS Y GIARDIASIS. 500MG CADA 8 HORAS POR 7 DIAS", 1},
    {"GRIPALIV FORTE", "PARACETAMOL + FENILEFRINA + CLORFENAMINA", "POPULARES", "ANTIGRIPAL",
     "ANALGESICO, DESCONGESTIONANTE NASAL Y ANTIHISTAMINICO",
     "SINTOMAS DE LA GRIPE. 1 TABLETA CADA 8 HORAS", 4},
    {"SAL DIGESTIVA EFERVESCENTE", "BICARBONATO DE SODIO + ACIDO CITRICO", "POPULARES", "ANTIACIDO",
     "NEUTRALIZA EL ACIDO GASTRICO", "ACIDEZ E INDIGESTION. 1 SOBRE DISUELTO EN MEDIO VASO DE AGUA",
     4},
    {"VITAMINA C 500MG MASTICABLE", "ACIDO ASCORBICO", "POPULARES", "VITAMINA",
     "ANTIOXIDANTE, COFACTOR EN LA SINTESIS DE COLAGENO", "SUPLEMENTO VITAMINICO. 1 TABLETA AL DIA",
     4},
    {"PASTILLAS PARA LA GARGANTA MIEL Y LIMON", "MENTOL + EUCALIPTOL", "POPULARES",
     "ANTISEPTICO BUCOFARINGEO", "ALIVIA LA IRRITACION DE LA GARGANTA",
     "DOLOR DE GARGANTA. DISOLVER 1 PASTILLA EN LA BOCA CADA 3 HORAS", 4},
    {"SUERO ORAL REHIDRATANTE", "SALES DE REHIDRATACION ORAL", "POPULARES", "REHIDRATANTE",
     "REPONE AGUA Y ELECTROLITOS PERDIDOS", "DIARREA Y DESHIDRATACION. TOMAR A PEQUEÑOS SORBOS", 4},
    {"UNGÜENTO MENTOLADO 30G", "MENTOL + ALCANFOR", "POPULARES", "DESCONGESTIONANTE TOPICO",
     "VAPORES QUE ALIVIAN LA CONGESTION NASAL",
     "RESFRIO. APLICAR EN PECHO Y ESPALDA ANTES DE DORMIR", 4},
    {"LECHE DE MAGNESIA 120ML", "HIDROXIDO DE MAGNESIO", "POPULARES", "LAXANTE ANTIACIDO",
     "NEUTRALIZA EL ACIDO Y ATRAE AGUA AL INTESTINO",
     "ESTREÑIMIENTO. 1 A 2 CUCHARADAS ANTES DE DORMIR", 4},
    {"SHAMPOO ANTICASPA 400ML", "PIRITIONA DE ZINC", "PERFUMERIA", "CUIDADO CAPILAR",
     "CONTROLA EL HONGO QUE PRODUCE LA CASPA", "APLICAR SOBRE EL CABELLO HUMEDO Y ENJUAGAR", 5},
    {"JABON GLICERINADO 90G", "GLICERINA", "PERFUMERIA", "HIGIENE PERSONAL",
     "LIMPIA Y CONSERVA LA HUMEDAD DE LA PIEL", "USO DIARIO", 5},
    {"PROTECTOR SOLAR FPS 50 120ML", "OXIDO DE ZINC + AVOBENZONA", "PERFUMERIA", "FOTOPROTECTOR",
     "FILTRA LA RADIACION ULTRAVIOLETA A Y B",
     "APLICAR 30 MINUTOS ANTES DE LA EXPOSICION Y CADA 2 HORAS", 5},
    {"CREMA HUMECTANTE CORPORAL 400ML", "UREA + ALANTOINA", "PERFUMERIA", "HUMECTANTE",
     "HIDRATA Y SUAVIZA LA PIEL SECA", "APLICAR DESPUES DEL BAÑO", 5},
    {"PASTA DENTAL CON FLUOR 90G", "FLUORURO DE SODIO", "PERFUMERIA", "HIGIENE BUCAL",
     "FORTALECE EL ESMALTE DENTAL", "CEPILLAR LOS DIENTES DESPUES DE CADA COMIDA", 5},
    {"DESODORANTE ROLL ON 50ML", "CLORHIDRATO DE ALUMINIO", "PERFUMERIA", "ANTITRANSPIRANTE",
     "REDUCE LA TRANSPIRACION DE LAS AXILAS", "APLICAR SOBRE LA PIEL LIMPIA Y SECA", 5},
    {"COLONIA INFANTIL MANZANILLA 250ML", "EXTRACTO DE MANZANILLA", "PERFUMERIA", "FRAGANCIA",
     "FRAGANCIA SUAVE SIN ALCOHOL", "APLICAR SOBRE EL CUERPO DEL BEBE", 5},
    {"JERINGA DESCARTABLE 5ML", "JERINGA HIPODERMICA CON AGUJA 21G", "MATERIAL QUIRURGICO",
     "DESCARTABLE", "ESTERIL, DE UN SOLO USO", "USO UNICO, DESECHAR DESPUES DE USAR", 6},
    {"GASA ESTERIL 10X10CM", "GASA DE ALGODON", "MATERIAL QUIRURGICO", "CURACION",
     "ABSORBE Y PROTEGE HERIDAS", "CUBRIR LA HERIDA LIMPIA Y CAMBIAR A DIARIO", 6},
    {"ALCOHOL ETILICO 70° 1L", "ALCOHOL ETILICO", "MATERIAL QUIRURGICO", "ANTISEPTICO",
     "DESNATURALIZA LAS PROTEINAS DE LOS MICROORGANISMOS", "USO EXTERNO. INFLAMABLE", 6},
    {"ESPARADRAPO DE TELA 5CM X 4.5M", "ESPARADRAPO", "MATERIAL QUIRURGICO", "FIJACION",
     "ADHESIVO HIPOALERGENICO", "FIJAR GASAS Y APOSITOS", 6},
    {"GUANTES DE LATEX TALLA M", "GUANTES DE EXAMEN", "MATERIAL QUIRURGICO", "PROTECCION",
     "BARRERA CONTRA FLUIDOS", "USO UNICO", 6},
    {"VENDA ELASTICA 4 PULGADAS", "VENDA ELASTICA", "MATERIAL QUIRURGICO", "INMOVILIZACION",
     "COMPRESION Y SOPORTE DE ARTICULACIONES", "VENDAR SIN APRETAR EN EXCESO", 6},
    {"TERMOMETRO DIGITAL", "TERMOMETRO CLINICO", "MATERIAL QUIRURGICO", "DIAGNOSTICO",
     "MIDE LA TEMPERATURA CORPORAL", "AXILAR U ORAL, ESPERAR LA SEÑAL SONORA", 6},
    {"APLICACION DE INYECTABLE", "SERVICIO DE INYECTABLE", "SERVICIOS", "ENFERMERIA",
     "APLICACION INTRAMUSCULAR O SUBCUTANEA", "CON RECETA MEDICA", 8},
    {"TOMA DE PRESION ARTERIAL", "CONTROL DE PRESION ARTERIAL", "SERVICIOS", "ENFERMERIA",
     "MEDICION CON TENSIOMETRO DIGITAL", "EN REPOSO, SENTADO", 8},
    {"PRUEBA DE GLUCOSA CAPILAR", "MEDICION DE GLUCOSA", "SERVICIOS", "ENFERMERIA",
     "MEDICION CON GLUCOMETRO Y TIRA REACTIVA", "DE PREFERENCIA EN AYUNAS", 8},
    {"NEBULIZACION", "SERVICIO DE NEBULIZACION", "SERVICIOS", "ENFERMERIA",
     "ADMINISTRACION DE MEDICAMENTO POR VIA INHALATORIA", "CON RECETA MEDICA", 8},
};

constexpr int kProductCount = static_cast<int>(std::size(kProducts));
static_assert(kProductCount == 42, "presentations name the second brands' links 43 and up");

// Second brands of some products, as links 43, 44, ...
struct DemoLink {
    int product;
    int lab;
    const char* state;
};

const DemoLink kMoreLinks[] = {
    {1, 3, "ACTIVO"},    // 43: AMOXICILINA, BIOSIERRA
    {2, 2, "ACTIVO"},    // 44: PARACETAMOL, TUNAL
    {4, 2, "INACTIVO"},  // 45: NAPROXENO, TUNAL
    {7, 2, "ACTIVO"},    // 46: OMEPRAZOL, TUNAL
};

struct DemoPresentation {
    int link;
    const char* type;
    int costCents;
    int saleCents;
    const char* place;
    const char* kind;  // GENERICO / COMERCIAL
    const char* unit;  // UNIDAD / CAJA
    int stock;
    int minimum;
    const char* state;
    int digemid;  // 0: none
    int perBox;
};

const DemoPresentation kPresentations[] = {
    {1, "AMOXICILINA 500MG TABLETA X 100", 18, 50, "ESTANTE A-01", "GENERICO", "UNIDAD", 350, 100,
     "CONTINUO", 12001, 100},
    {1, "AMOXICILINA 250MG/5ML SUSPENSION 60ML", 320, 650, "ESTANTE A-02", "GENERICO", "UNIDAD", 24,
     6, "CONTINUO", 12002, 1},
    {43, "BIOXILINA 500MG CAPSULA CAJA X 21", 1450, 2800, "VITRINA 1", "COMERCIAL", "CAJA", 8, 3,
     "CONTINUO", 12003, 21},
    {2, "PARACETAMOL 500MG TABLETA X 100", 6, 20, "ESTANTE A-03", "GENERICO", "UNIDAD", 900, 200,
     "CONTINUO", 12010, 100},
    {2, "PARACETAMOL 120MG/5ML JARABE 60ML", 180, 400, "ESTANTE A-03", "GENERICO", "UNIDAD", 30, 10,
     "CONTINUO", 12011, 1},
    {44, "DOLOTUNAL 500MG TABLETA CAJA X 20", 520, 1000, "VITRINA 1", "COMERCIAL", "CAJA", 12, 4,
     "CONTINUO", 12012, 20},
    {3, "IBUPROFENO 400MG TABLETA X 100", 10, 30, "ESTANTE A-04", "GENERICO", "UNIDAD", 480, 100,
     "CONTINUO", 12020, 100},
    {3, "IBUPROFENO 100MG/5ML SUSPENSION 100ML", 350, 750, "ESTANTE A-04", "GENERICO", "UNIDAD", 0,
     5, "CONTINUO", 12021, 1},
    {4, "NAPROXENO SODICO 550MG TABLETA X 100", 22, 60, "ESTANTE A-05", "GENERICO", "UNIDAD", 200,
     50, "CONTINUO", 12030, 100},
    {4, "NAPROXENO SODICO 275MG TABLETA X 100", 15, 40, "ESTANTE A-05", "GENERICO", "UNIDAD", 0, 0,
     "DISCONTINUO", 12031, 100},
    {45, "NAPROTUNAL 550MG TABLETA CAJA X 10", 690, 1350, "VITRINA 1", "COMERCIAL", "CAJA", 0, 0,
     "CONTINUO", 12032, 10},
    {5, "AZITROMICINA 500MG TABLETA X 3", 250, 600, "ESTANTE A-06", "GENERICO", "UNIDAD", 45, 15,
     "CONTINUO", 12040, 3},
    {6, "CIPROFLOXACINO 500MG TABLETA X 100", 16, 50, "ESTANTE A-07", "GENERICO", "UNIDAD", 300,
     100, "CONTINUO", 12050, 100},
    {7, "OMEPRAZOL 20MG CAPSULA X 100", 9, 30, "ESTANTE A-08", "GENERICO", "UNIDAD", 600, 150,
     "CONTINUO", 12060, 100},
    {46, "GASTROTUNAL 20MG CAPSULA CAJA X 14", 980, 1900, "VITRINA 1", "COMERCIAL", "CAJA", 6, 2,
     "CONTINUO", 12061, 14},
    {8, "LORATADINA 10MG TABLETA X 100", 8, 30, "ESTANTE A-09", "GENERICO", "UNIDAD", 250, 60,
     "CONTINUO", 12070, 100},
    {8, "LORATADINA 5MG/5ML JARABE 60ML", 240, 550, "ESTANTE A-09", "GENERICO", "UNIDAD", 14, 5,
     "CONTINUO", 12071, 1},
    {9, "METFORMINA 850MG TABLETA X 100", 7, 25, "ESTANTE B-01", "GENERICO", "UNIDAD", 800, 200,
     "CONTINUO", 12080, 100},
    {10, "ENALAPRIL 10MG TABLETA X 100", 5, 20, "ESTANTE B-02", "GENERICO", "UNIDAD", 500, 150,
     "CONTINUO", 12090, 100},
    {11, "LOSARTAN POTASICO 50MG TABLETA X 30", 12, 40, "ESTANTE B-03", "GENERICO", "UNIDAD", 360,
     90, "CONTINUO", 12100, 30},
    {12, "ATORVASTATINA 20MG TABLETA X 30", 25, 80, "ESTANTE B-04", "GENERICO", "UNIDAD", 180, 60,
     "CONTINUO", 12110, 30},
    {13, "SALBUTAMOL 100MCG INHALADOR 200 DOSIS", 980, 1800, "VITRINA 2", "GENERICO", "UNIDAD", 10,
     4, "CONTINUO", 12120, 1},
    {14, "DEXAMETASONA 4MG/ML AMPOLLA 2ML", 120, 350, "REFRIGERADORA", "GENERICO", "UNIDAD", 40, 10,
     "CONTINUO", 12130, 1},
    {15, "CLORFENAMINA 4MG TABLETA X 100", 4, 15, "ESTANTE B-05", "GENERICO", "UNIDAD", 400, 100,
     "CONTINUO", 12140, 100},
    {16, "DICLOFENACO SODICO 75MG/3ML AMPOLLA", 90, 300, "ESTANTE B-06", "GENERICO", "UNIDAD", 60,
     20, "CONTINUO", 12150, 1},
    {17, "METRONIDAZOL 500MG TABLETA X 100", 10, 35, "ESTANTE B-07", "GENERICO", "UNIDAD", 220, 60,
     "CONTINUO", 12160, 100},
    {18, "GRIPALIV FORTE TABLETA X 100", 30, 80, "MOSTRADOR", "COMERCIAL", "UNIDAD", 300, 100,
     "CONTINUO", 13001, 100},
    {18, "GRIPALIV FORTE JARABE 120ML", 450, 950, "MOSTRADOR", "COMERCIAL", "UNIDAD", 18, 6,
     "CONTINUO", 13002, 1},
    {19, "SAL DIGESTIVA EFERVESCENTE SOBRE 5G", 35, 80, "MOSTRADOR", "COMERCIAL", "UNIDAD", 150, 50,
     "CONTINUO", 13010, 50},
    {20, "VITAMINA C 500MG MASTICABLE X 100", 12, 30, "ESTANTE C-01", "GENERICO", "UNIDAD", 500,
     100, "CONTINUO", 13020, 100},
    {21, "PASTILLAS PARA LA GARGANTA SOBRE X 2", 40, 100, "MOSTRADOR", "COMERCIAL", "UNIDAD", 0, 40,
     "CONTINUO", 13030, 24},
    {22, "SUERO ORAL REHIDRATANTE SOBRE 27.9G", 70, 150, "ESTANTE C-02", "GENERICO", "UNIDAD", 80,
     20, "CONTINUO", 13040, 1},
    {23, "UNGÜENTO MENTOLADO LATA 30G", 210, 450, "ESTANTE C-03", "COMERCIAL", "UNIDAD", 35, 10,
     "CONTINUO", 13050, 1},
    {24, "LECHE DE MAGNESIA FRASCO 120ML", 260, 550, "ESTANTE C-04", "GENERICO", "UNIDAD", 20, 6,
     "CONTINUO", 13060, 1},
    {25, "SHAMPOO ANTICASPA FRASCO 400ML", 1250, 2190, "GONDOLA 1", "COMERCIAL", "UNIDAD", 9, 3,
     "CONTINUO", 0, 1},
    {26, "JABON GLICERINADO BARRA 90G", 150, 320, "GONDOLA 1", "COMERCIAL", "UNIDAD", 40, 12,
     "CONTINUO", 0, 1},
    {26, "JABON GLICERINADO PACK X 3", 420, 850, "GONDOLA 1", "COMERCIAL", "CAJA", 10, 3,
     "CONTINUO", 0, 3},
    {27, "PROTECTOR SOLAR FPS 50 FRASCO 120ML", 2800, 4990, "VITRINA 3", "COMERCIAL", "UNIDAD", 0,
     4, "CONTINUO", 0, 1},
    {28, "CREMA HUMECTANTE CORPORAL FRASCO 400ML", 1400, 2490, "GONDOLA 2", "COMERCIAL", "UNIDAD",
     7, 3, "CONTINUO", 0, 1},
    {29, "PASTA DENTAL CON FLUOR TUBO 90G", 230, 450, "GONDOLA 2", "COMERCIAL", "UNIDAD", 48, 12,
     "CONTINUO", 0, 1},
    {30, "DESODORANTE ROLL ON 50ML", 560, 990, "GONDOLA 2", "COMERCIAL", "UNIDAD", 15, 5,
     "CONTINUO", 0, 1},
    {31, "COLONIA INFANTIL MANZANILLA 250ML", 900, 1590, "GONDOLA 3", "COMERCIAL", "UNIDAD", 6, 2,
     "CONTINUO", 0, 1},
    {32, "JERINGA DESCARTABLE 5ML CON AGUJA 21G X 1", 18, 50, "CAJON 1", "GENERICO", "UNIDAD", 500,
     100, "CONTINUO", 14001, 100},
    {33, "GASA ESTERIL 10X10CM SOBRE X 1", 25, 70, "CAJON 2", "GENERICO", "UNIDAD", 200, 50,
     "CONTINUO", 14010, 100},
    {34, "ALCOHOL ETILICO 70° FRASCO 1L", 650, 1200, "ALMACEN", "GENERICO", "UNIDAD", 25, 8,
     "CONTINUO", 14020, 1},
    {34, "ALCOHOL ETILICO 70° FRASCO 120ML", 120, 280, "MOSTRADOR", "GENERICO", "UNIDAD", 60, 20,
     "CONTINUO", 14021, 1},
    {35, "ESPARADRAPO DE TELA 5CM X 4.5M", 280, 550, "CAJON 2", "GENERICO", "UNIDAD", 30, 10,
     "CONTINUO", 14030, 1},
    {36, "GUANTES DE LATEX TALLA M PAR", 45, 120, "CAJON 3", "GENERICO", "UNIDAD", 0, 50,
     "CONTINUO", 14040, 50},
    {36, "GUANTES DE LATEX TALLA M CAJA X 50 PARES", 1900, 3500, "ALMACEN", "GENERICO", "CAJA", 4,
     2, "CONTINUO", 14041, 50},
    {37, "VENDA ELASTICA 4 PULGADAS X 5YD", 220, 450, "CAJON 3", "GENERICO", "UNIDAD", 22, 6,
     "CONTINUO", 14050, 1},
    {38, "TERMOMETRO DIGITAL FLEXIBLE", 850, 1500, "VITRINA 2", "COMERCIAL", "UNIDAD", 11, 4,
     "CONTINUO", 14060, 1},
    {39, "APLICACION DE INYECTABLE INTRAMUSCULAR", 0, 300, "TOPICO", "GENERICO", "UNIDAD", 999, 0,
     "CONTINUO", 0, 1},
    {40, "TOMA DE PRESION ARTERIAL", 0, 200, "TOPICO", "GENERICO", "UNIDAD", 999, 0, "CONTINUO", 0,
     1},
    {41, "PRUEBA DE GLUCOSA CAPILAR", 150, 500, "TOPICO", "GENERICO", "UNIDAD", 100, 20, "CONTINUO",
     0, 1},
    {42, "NEBULIZACION POR SESION", 50, 600, "TOPICO", "GENERICO", "UNIDAD", 999, 0, "CONTINUO", 0,
     1},
};

struct DemoSupplier {
    const char* name;
    const char* phone;
    const char* fax;
    const char* email;
    const char* account;
    const char* description;
    // Its representative.
    const char* repNames;
    const char* repSurnames;
    const char* repPhone;
    const char* repEmail;
    const char* repNotes;
};

const DemoSupplier kSuppliers[] = {
    {"SAUCAL", "044231100", "044231101", "PEDIDOS@SAUCAL.PE", "CTA. CTE. 570-1234567-0-12",
     "DISTRIBUIDORA DE MEDICAMENTOS", "JULIO CESAR", "ARANDA PEREZ", "949800111",
     "JARANDA@SAUCAL.PE", "VISITA LOS LUNES Y JUEVES"},
    {"ALMACEN BRISA", "044245500", "044245501", "VENTAS@ALMACENBRISA.PE",
     "CTA. CTE. 011-0250-0100012345", "PERFUMERIA Y MATERIAL MEDICO", "SANDRA", "QUIROZ DIAZ",
     "949800222", "SQUIROZ@ALMACENBRISA.PE", "ENTREGA EN 48 HORAS"},
    {"DROGUERIA LOS ANDES", "044260300", nullptr, "CONTACTO@LOSANDES.PE",
     "CTA. CTE. 310-7654321-1-05", "GENERICOS Y POPULARES", "RAUL", "GUTIERREZ SAENZ", "949800333",
     "RGUTIERREZ@LOSANDES.PE", "PEDIDO MINIMO S/ 300.00"},
};

constexpr int kBranch = 1;

QVariant utf8(const char* s) {
    return s ? QVariant(QString::fromUtf8(s)) : QVariant();
}

QVariant at(const char* isoDateTime) {
    return QDateTime::fromString(QString::fromLatin1(isoDateTime), Qt::ISODate);
}

QVariant cents(int amount) {
    return QVariant::fromValue(core::Money::fromRaw(amount * 100LL));
}

void insert(Db& db, const char* table, const QStringList& columns, const QVariantList& values) {
    const QStringList marks(columns.size(), QStringLiteral("?"));
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(QString::fromLatin1(table), columns.join(QStringLiteral(", ")),
                     marks.join(QStringLiteral(", "))),
            values);
}

int productOfLink(int link) {
    return link <= kProductCount ? link : kMoreLinks[link - kProductCount - 1].product;
}

QByteArray photo(const char* login) {
    QFile file(QStringLiteral(":/demo/%1.png").arg(QString::fromLatin1(login).toLower()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void insertBranchAndSettings(Db& db) {
    insert(db, "SUCURSAL", {"SucCod", "SucNombre", "SucCiudad", "SucDireccion", "SucTelefono"},
           {kBranch, utf8("BOTICA VELCARIS"), utf8("TRUJILLO"), utf8("AV. ESPAÑA 1520"),
            utf8("044201122")});
    insert(db, "IGV",
           {"IgvCod", "UsuCod", "IgvValor", "IgvFecha", "IgvSerieBoleta", "IgvSerieFactura"},
           {1, 1, 18.0, at(kOpened), utf8("B001"), utf8("F001")});
    insert(db, "INVENTARIO", {"InvCod", "InvFecha"}, {1, at(kOpened)});
}

void insertUsers(Db& db) {
    const QStringList columns = {"UsuCod",      "SucCod",     "UsuLogin",        "UsuPassword",
                                 "UsuCargo",    "UsuNombres", "UsuApellidos",    "UsuDni",
                                 "UsuTelefono", "UsuEdad",    "UsuDomicilio",    "UsuFechNac",
                                 "UsuEstado",   "UsuTecla",   "UsuFechaIngreso", "UsuFechaRenuncia",
                                 "UsuFoto"};
    for (const DemoUser& u : kUsers) {
        insert(db, "USUARIO", columns,
               {u.code, kBranch, utf8(u.login), core::Encripta(QString::fromLatin1(u.login)),
                utf8(u.role), utf8(u.names), utf8(u.surnames), utf8(u.dni), utf8(u.phone), u.age,
                utf8(u.address), QDate::fromString(QString::fromLatin1(u.born), Qt::ISODate),
                utf8(u.state), utf8(u.key), at(kJoined), at(u.left ? u.left : kJoined),
                photo(u.login)});
    }
}

void insertCatalogue(Db& db) {
    int key = 0;
    for (const DemoLab& l : kLabs) {
        insert(db, "LABORATORIO", {"LabCodigo", "LabNombre", "LabRazSoc", "LabDescripcion"},
               {++key, utf8(l.name), utf8(l.company), utf8(l.description)});
    }
    const QStringList linkColumns = {"ProdLabCod", "ProdCodigo", "LabCodigo", "ProdLabEstado"};
    key = 0;
    for (const DemoProduct& p : kProducts) {
        ++key;
        insert(db, "PRODUCTO",
               {"ProdCodigo", "ProdNomComercial", "ProdNomGenerico", "ProdLinea", "ProDescripcion",
                "ProAccionMecanismo"},
               {key, utf8(p.commercial), utf8(p.generic), utf8(p.line), utf8(p.description),
                utf8(p.mechanism)});
        insert(db, "PRODUCTO_LABORATORIO", linkColumns, {key, key, p.lab, utf8("ACTIVO")});
    }
    for (const DemoLink& l : kMoreLinks) {
        insert(db, "PRODUCTO_LABORATORIO", linkColumns, {++key, l.product, l.lab, utf8(l.state)});
    }
    const QStringList presentationColumns = {
        "CodPresentacion", "ProdLabCod",          "PresTipo",      "PresPrecioCosto",
        "PresVenta",       "PresIndicaPosologia", "PresUbicacion", "PresGenCom",
        "PresUniTodo",     "PresStockTotal",      "PresPromUni",   "PresEstado",
        "PresCodDigemid",  "PresNumCaja"};
    key = 0;
    for (const DemoPresentation& p : kPresentations) {
        insert(db, "PRESENTACION", presentationColumns,
               {++key, p.link, utf8(p.type), cents(p.costCents), cents(p.saleCents),
                utf8(kProducts[productOfLink(p.link) - 1].dosage), utf8(p.place), utf8(p.kind),
                utf8(p.unit), p.stock, p.minimum, utf8(p.state),
                p.digemid ? QVariant(p.digemid) : QVariant(), p.perBox});
    }
}

void insertSuppliers(Db& db) {
    int key = 0;
    for (const DemoSupplier& s : kSuppliers) {
        ++key;
        insert(db, "PROVEEDOR",
               {"ProvCod", "ProvRazSoc", "ProvTelefono", "ProvTelefax", "ProvEmail", "ProvCuenta",
                "ProvDescrip", "ProvEstado"},
               {key, utf8(s.name), utf8(s.phone), utf8(s.fax), utf8(s.email), utf8(s.account),
                utf8(s.description), utf8("ACTIVO")});
        insert(db, "REPRESENTANTE",
               {"RepCodigo", "ProvCod", "RepNombre", "RepApellidos", "RepTelefono", "RepEmail",
                "RepDescrip"},
               {key, key, utf8(s.repNames), utf8(s.repSurnames), utf8(s.repPhone), utf8(s.repEmail),
                utf8(s.repNotes)});
    }
}

}  // namespace

bool loadDemoShop(Db& db) {
    initDemoResources();
    Db::Transaction tx(db);
    db.lock(QStringLiteral("USUARIO"));
    if (integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM USUARIO"))) > 0) {
        tx.commit();  // nothing written; an enclosing transaction stays sound
        return false;
    }
    insertBranchAndSettings(db);
    insertUsers(db);
    insertCatalogue(db);
    insertSuppliers(db);
    tx.commit();
    return true;
}

QStringList demoLogins() {
    QStringList logins;
    for (const DemoUser& u : kUsers) {
        logins.append(QString::fromLatin1(u.login));
    }
    return logins;
}

}  // namespace db
